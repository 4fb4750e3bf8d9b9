// Pictures: a picture drawn again is what a fresh drawing gives, wherever, however large
// and however faded it is drawn.
#include "forms/Picture.h"
#include <QPainter>
#include <QtTest>

using namespace forms;

class TestPicture : public QObject {
    Q_OBJECT
private slots:
    void drawnAgainAsIfFresh();
};

void TestPicture::drawnAgainAsIfFresh()
{
    const QString file = QStringLiteral(":/pictures/freccia_avanti.svg");
    auto draw = [](const Picture &p, const QRectF &target, qreal opacity) {
        QImage img(200, 150, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(opacity);
        p.paint(painter, target);
        return img;
    };
    // One picture drawn in turn: at another size, within a pixel elsewhere, faded, moved
    // by whole pixels, and as it was at first.
    const Picture kept = Picture::fromFile(file);
    const struct {
        QRectF target;
        qreal opacity;
    } turns[] = {{QRectF(10, 10, 120, 80), 1},        {QRectF(10, 10, 60.5, 40.5), 1},
                 {QRectF(10.5, 10.5, 60.5, 40.5), 1},   {QRectF(10.5, 10.5, 60.5, 40.5), 0.35},
                 {QRectF(40.5, 30.5, 60.5, 40.5), 0.35}, {QRectF(10, 10, 120, 80), 1}};
    for (const auto &t : turns) {
        const QImage again = draw(kept, t.target, t.opacity);
        QCOMPARE(again, draw(Picture::fromFile(file), t.target, t.opacity));
        QVERIFY(again != draw(Picture(), t.target, t.opacity)); // something was drawn
    }
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
