#include "Picture.h"
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTimer>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <thread>

namespace forms {

// What a file holds, read once for the whole run and shared by every picture of that file:
// the program shows only its own few pictures, and a window opened again, or another
// window showing the same picture, need not parse it again.
struct Picture::Source {
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

    static std::shared_ptr<Source> of(const QString &path)
    {
        static QHash<QString, std::shared_ptr<Source>> kept;
        std::shared_ptr<Source> &s = kept[path];
        if (!s) {
            s = std::make_shared<Source>();
            s->path = path;
            s->svg = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
        }
        return s;
    }
};

// What a drawing of a picture was made for, in device pixels.
struct Picture::Drawing {
    QSize box;
    QPointF offset; // where the picture lies inside the box, less than a pixel
    QSizeF size;
    QPainter::RenderHints hints;
    qreal opacity = 1;

    bool operator==(const Drawing &o) const
    {
        return box == o.box && offset == o.offset && size == o.size && hints == o.hints && opacity == o.opacity;
    }
};

struct Picture::Data {
    std::shared_ptr<Source> src;
    // The drawing last made, and what it was made for: a window repaints its pictures at
    // every change around them (a highlight moving), and drawing a picture anew each time
    // costs far more than putting the pixels back.
    QImage drawn;
    Drawing drawing;

    Source &ensure()
    {
        src->ensure();
        return *src;
    }

    // Touches nothing but this picture and its file's renderer.
    void draw(const Drawing &w)
    {
        drawn = QImage(w.box, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter ip(&drawn);
        ip.setRenderHints(w.hints);
        // A faded picture is drawn faded part by part, as the painter would: its parts
        // that overlap show through one another.
        ip.setOpacity(w.opacity);
        src->renderer->render(&ip, QRectF(w.offset, w.size));
        drawing = w;
    }
};

namespace {
// The pictures a drawing where nothing is kept came across (drawPicturesAhead).
struct Ahead {
    std::shared_ptr<Picture::Data> d;
    Picture::Drawing w;
};
std::vector<Ahead> *g_ahead = nullptr;
} // namespace

Picture Picture::fromFile(const QString &path)
{
    Picture p;
    p.d_ = std::make_shared<Data>();
    p.d_->src = Source::of(path);
    return p;
}

QString Picture::source() const { return d_ ? d_->src->path : QString(); }

QSizeF Picture::naturalSize() const
{
    if (!d_) return {};
    const Source &s = d_->ensure();
    if (s.renderer) return s.renderer->defaultSize();
    return s.image.size();
}

QRectF Picture::placed(const QRectF &target) const
{
    if (!d_) return {};
    const Source &s = d_->ensure();
    const QSizeF n = naturalSize();
    if (s.fills || n.width() <= 0 || n.height() <= 0) return target;
    const double k = std::min(target.width() / n.width(), target.height() / n.height());
    const QSizeF sz = n * k;
    return QRectF(target.center() - QPointF(sz.width() / 2, sz.height() / 2), sz);
}

void Picture::paint(QPainter &p, const QRectF &target) const
{
    if (!d_) return;
    const Source &s = d_->ensure();
    if (s.renderer) {
        const QRectF dove = placed(target);
        // Drawn once at its place in device pixels, then put back whole, when the painter
        // only moves what it draws; other painters get it drawn anew.
        const QTransform t = p.deviceTransform();
        if (t.type() > QTransform::TxTranslate || p.paintEngine()->type() != QPaintEngine::Raster) {
            s.renderer->render(&p, dove);
            return;
        }
        const QRectF inDevice = t.mapRect(dove);
        const QRect box = inDevice.toAlignedRect();
        const QPointF offset = inDevice.topLeft() - QPointF(box.topLeft());
        const qreal opacity = p.opacity();
        const Drawing wanted{box.size(), offset, inDevice.size(), p.renderHints(), opacity};
        if (!(d_->drawing == wanted)) {
            // Drawing where nothing is kept, ahead of the window's own drawing: the
            // picture is noted, to be drawn beside the others.
            if (g_ahead) {
                g_ahead->push_back({d_, wanted});
                return;
            }
            d_->draw(wanted);
        }
        p.setOpacity(1);
        p.drawImage(QPointF(box.topLeft()) - QPointF(t.dx(), t.dy()), d_->drawn);
        p.setOpacity(opacity);
    } else if (!s.image.isNull()) {
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, s.image);
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
void drawPicturesAhead(QWidget *window)
{
    std::vector<Ahead> found;
    g_ahead = &found;
    QImage nothing(1, 1, QImage::Format_RGB32);
    window->render(&nothing);
    g_ahead = nullptr;

    // One drawing per picture, the last asked for; the pictures of one file in one queue,
    // as they share the file's renderer.
    std::vector<std::vector<const Ahead *>> queues;
    QHash<const Picture::Data *, const Ahead *> last;
    for (const Ahead &a : found) last.insert(a.d.get(), &a);
    QHash<const void *, size_t> queueOf;
    for (const Ahead &a : found) {
        if (last.value(a.d.get()) != &a) continue;
        const void *file = a.d->src.get();
        if (!queueOf.contains(file)) {
            queueOf.insert(file, queues.size());
            queues.emplace_back();
        }
        queues[queueOf.value(file)].push_back(&a);
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t q; (q = next++) < queues.size();)
            for (const Ahead *a : queues[q]) a->d->draw(a->w);
    };
    // The caller's thread takes its part: one queue needs no other.
    const size_t processori = std::max(1u, std::thread::hardware_concurrency());
    const size_t helpers = queues.size() > 1 ? std::min(queues.size(), processori) - 1 : 0;
    std::vector<std::thread> threads;
    for (size_t i = 0; i < helpers; ++i) threads.emplace_back(work);
    work();
    for (std::thread &t : threads) t.join();
}

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
    // A window's controls share a few pointers, and every window made anew asks for them.
    static QHash<QString, QCursor> kept;
    const QString key = QStringLiteral("%1@%2,%3").arg(png).arg(hotX).arg(hotY);
    const auto it = kept.constFind(key);
    if (it != kept.constEnd()) return *it;
    const QPixmap pm(png);
    const QCursor c = pm.isNull() ? programCursor() : QCursor(pm, hotX, hotY);
    kept.insert(key, c);
    return c;
}

namespace {
// What is left to prepare, one piece at a time, while nothing else is to be done.
struct Preparation {
    QTimer timer;
    bool started = false;
    QStringList pending;
};
Preparation *g_preparation = nullptr;
}

void preparePicturesWhenIdle()
{
    if (g_preparation) return;
    g_preparation = new Preparation;
    g_preparation->timer.setInterval(0);
    QObject::connect(&g_preparation->timer, &QTimer::timeout, [] {
        if (!g_preparation->started) {
            // The first file read loads the image readers too: the pointer goes first.
            g_preparation->started = true;
            programCursor();
            const QStringList names = QDir(QStringLiteral(":/pictures")).entryList({QStringLiteral("*.svg")}, QDir::Files);
            for (const QString &name : names) g_preparation->pending.append(QStringLiteral(":/pictures/") + name);
            return;
        }
        if (g_preparation->pending.isEmpty()) {
            g_preparation->timer.stop();
            return;
        }
        Picture::fromFile(g_preparation->pending.takeFirst()).naturalSize();
    });
    g_preparation->timer.start();
}

void stopPreparingPictures()
{
    delete g_preparation;
    g_preparation = nullptr;
}
}
