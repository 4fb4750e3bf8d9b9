#include "Picture.h"
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>

namespace forms {

struct Picture::Data {
    QString path;
    bool svg = false;
    bool loaded = false;
    bool fills = true; // an SVG without preserveAspectRatio="none" keeps its proportions
    std::unique_ptr<QSvgRenderer> renderer;
    QImage image;

    void ensure()
    {
        if (loaded) return;
        loaded = true;
        if (svg) {
            renderer = std::make_unique<QSvgRenderer>(path);
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) {
                QXmlStreamReader xml(&file);
                while (!xml.atEnd() && !xml.isStartElement()) xml.readNext();
                fills = xml.attributes().value(QLatin1String("preserveAspectRatio")).trimmed() == QLatin1String("none");
            }
        } else if (image.isNull()) image.load(path);
    }
};

Picture Picture::fromFile(const QString &path)
{
    Picture p;
    p.d_ = std::make_shared<Data>();
    p.d_->path = path;
    p.d_->svg = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    return p;
}

QString Picture::source() const { return d_ ? d_->path : QString(); }

QSizeF Picture::naturalSize() const
{
    if (!d_) return {};
    d_->ensure();
    if (d_->renderer) return d_->renderer->defaultSize();
    return d_->image.size();
}

QRectF Picture::placed(const QRectF &target) const
{
    if (!d_) return {};
    d_->ensure();
    const QSizeF n = naturalSize();
    if (d_->fills || n.width() <= 0 || n.height() <= 0) return target;
    const double k = std::min(target.width() / n.width(), target.height() / n.height());
    const QSizeF sz = n * k;
    return QRectF(target.center() - QPointF(sz.width() / 2, sz.height() / 2), sz);
}

void Picture::paint(QPainter &p, const QRectF &target) const
{
    if (!d_) return;
    d_->ensure();
    if (d_->renderer) {
        d_->renderer->render(&p, placed(target));
    } else if (!d_->image.isNull()) {
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, d_->image);
        p.restore();
    }
}

QImage Picture::toImage(QSize size) const
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return img;
}

} // namespace forms

namespace forms {
QCursor programCursor()
{
    static const QCursor c = [] {
        QPixmap pm(QStringLiteral(":/pictures/puntatore.png"));
        return pm.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(pm, 3, 1);
    }();
    return c;
}

QCursor cursorFromFile(const QString &png, int hotX, int hotY)
{
    const QPixmap pm(png);
    return pm.isNull() ? programCursor() : QCursor(pm, hotX, hotY);
}
}
