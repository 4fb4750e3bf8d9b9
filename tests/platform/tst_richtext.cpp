// Formatted text written as RTF: every character escaped as readers expect, paragraphs with
// their alignment and runs with their size and weight, the file written whole or not at all.
#include "platform/RichText.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

class TestRichText : public QObject {
    Q_OBJECT
private slots:
    void escapesAsReadersExpect()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("{x}\\ è") + QChar(QChar::Nbsp) + QStringLiteral("€\U0001D11E\t2 quantità Ìł\uFB01"));
        QTextCursor(&doc).insertText(QString(QChar(QChar::LineSeparator)));
        const QByteArray rtf = platform::rtfFromDocument(doc);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
        for (const char c : rtf) QVERIFY2(uchar(c) < 0x80, "only 7-bit characters in the file");
        // Windows-1252 as its bytes, as the header declares, so that every reader shows them;
        // the rest as signed 16-bit Unicode escapes with a stand-in, one character skipped.
        QVERIFY(rtf.contains("\\uc1"));
        QVERIFY(rtf.contains("\\{x\\}\\\\ \\'e8\\~\\'80\\u-10188?\\u-8930?\\tab 2 quantit\\'e0 \\'cc\\u322?\\u-1279?"));
        QVERIFY(rtf.contains("\\line "));
        // Every group that opens closes.
        int livello = 0;
        for (int i = 0; i < rtf.size(); ++i) {
            if (rtf[i] == '\\') { ++i; continue; }
            if (rtf[i] == '{') ++livello;
            if (rtf[i] == '}') QVERIFY(--livello >= 0);
        }
        QCOMPARE(livello, 0);
    }

    void paragraphsKeepTheirLook()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial"), 14));
        doc.setPlainText(QStringLiteral("Anna\nal centro\ndestra\nnormale"));
        QTextCursor c(&doc);
        c.setPosition(4, QTextCursor::KeepAnchor);
        QTextCharFormat titolo;
        titolo.setFontPointSize(18);
        titolo.setFontWeight(QFont::Bold);
        c.mergeCharFormat(titolo);
        QTextBlockFormat centro;
        centro.setAlignment(Qt::AlignHCenter);
        c.mergeBlockFormat(centro);
        QTextCursor d(doc.findBlockByNumber(1));
        d.mergeBlockFormat(centro);
        QTextBlockFormat destra;
        destra.setAlignment(Qt::AlignRight);
        QTextCursor(doc.findBlockByNumber(2)).mergeBlockFormat(destra);

        const QList<QByteArray> paragrafi = platform::rtfFromDocument(doc).split('\n');
        auto paragrafo = [&](const char *testo) {
            for (const QByteArray &p : paragrafi)
                if (p.contains(testo)) return p;
            return QByteArray();
        };
        QVERIFY(paragrafi[1].contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"));
        QVERIFY(paragrafo("Anna").startsWith("\\pard\\qc\\plain\\f0\\fs36\\b Anna"));
        QVERIFY(paragrafo("al centro").startsWith("\\pard\\qc\\plain\\f0\\fs28 al centro"));
        QVERIFY(paragrafo("destra").startsWith("\\pard\\qr"));
        QVERIFY(paragrafo("normale").startsWith("\\pard\\ql\\plain\\f0\\fs28 normale"));
    }

    void savedWholeOrReported()
    {
        QTemporaryDir dir;
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("registro"));
        const QString percorso = dir.filePath(QStringLiteral("anna.rtf"));
        QVERIFY(platform::saveRtf(doc, percorso));
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), platform::rtfFromDocument(doc));
        QVERIFY(!platform::saveRtf(doc, dir.filePath(QStringLiteral("manca/anna.rtf"))));
    }
};

QTEST_MAIN(TestRichText)
#include "tst_richtext.moc"
