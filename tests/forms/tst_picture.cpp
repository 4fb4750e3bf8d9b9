// Pictures: a picture drawn again is what a fresh drawing gives, wherever, however large
// and however faded it is drawn.
#include "forms/Picture.h"
#include <QPainter>
#include <QWidget>
#include <QtTest>

using namespace forms;

class TestPicture : public QObject {
    Q_OBJECT
private slots:
    void drawnAgainAsIfFresh();
    void drawnAheadAsDrawnInPlace();
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

namespace {
// A widget that shows a picture in a box of its own, faded or not.
class Riquadro : public QWidget {
public:
    Riquadro(QWidget *parent, const QRect &where, Picture picture, QRectF target, qreal opacity)
        : QWidget(parent), picture_(std::move(picture)), target_(target), opacity_(opacity)
    {
        setGeometry(where);
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setOpacity(opacity_);
        picture_.paint(p, target_);
    }

private:
    Picture picture_;
    QRectF target_;
    qreal opacity_;
};

QImage finestra(bool ahead)
{
    QWidget w;
    w.resize(400, 300);
    w.setAutoFillBackground(true);
    // One picture shown twice at two sizes, a faded one placed within a pixel, and others
    // sharing a file without sharing their drawing.
    const Picture mano = Picture::fromFile(QStringLiteral(":/pictures/mano_05.svg"));
    new Riquadro(&w, QRect(0, 0, 150, 120), mano, QRectF(5, 5, 140, 110), 1);
    new Riquadro(&w, QRect(160, 0, 90, 70), mano, QRectF(0, 0, 90, 70), 1);
    new Riquadro(&w, QRect(0, 130, 200, 150), Picture::fromFile(QStringLiteral(":/pictures/freccia_avanti.svg")),
                 QRectF(10.5, 10.5, 120.5, 80.5), 0.35);
    for (int i = 0; i < 8; ++i)
        new Riquadro(&w, QRect(210 + 22 * (i % 4), 130 + 60 * (i / 4), 55, 55),
                     Picture::fromFile(QStringLiteral(":/pictures/faccina_si.svg")), QRectF(0, 0, 55 - 5 * i, 55), 1);
    if (ahead) drawPicturesAhead(&w);
    QImage img(w.size(), QImage::Format_RGB32);
    w.render(&img);
    return img;
}
} // namespace

// The pictures drawn side by side ahead of a window's drawing are the ones it would have
// drawn itself.
void TestPicture::drawnAheadAsDrawnInPlace()
{
    const QImage inPlace = finestra(false);
    QCOMPARE(finestra(true), inPlace);
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
