// Turns one of the program's documents, written in Markdown, into a PDF page by page.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: genera_documenti INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "genera_documenti: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString text = QString::fromUtf8(in.readAll());

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    pdf.setCreator(QStringLiteral("Brivomarte"));
    const int nl = text.indexOf(QLatin1Char('\n'));
    pdf.setTitle(QString(text.left(nl < 0 ? text.size() : nl)).remove(QLatin1Char('#')).trimmed());

    QTextDocument doc;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11);
    doc.setDefaultFont(font);
    doc.setDefaultStyleSheet(QStringLiteral("h1 { color: #1f5f8b; } h2 { color: #1f5f8b; } h3 { color: #2d7a4f; }"));
    doc.setMarkdown(text);
    doc.print(&pdf);
    return 0;
}
