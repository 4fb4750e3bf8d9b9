#pragma once
// A picture that a control shows: drawn from an SVG (crisp at any size) or a raster image.
// A file is read once for the run, on first use, not when assigned, and shared by every
// picture of it; copies of a picture also share the drawing it keeps.
// Painted into a box, an SVG keeps its proportions, centred, unless it says
// preserveAspectRatio="none" (then, like a raster image, it fills the box exactly).
#include <QCursor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QWidget;

namespace forms {

class Picture {
public:
    Picture() = default;
    static Picture fromFile(const QString &path); // SVG by extension, else raster

    bool isNull() const { return !d_; }
    QString source() const;
    QSizeF naturalSize() const; // pixels
    QRectF placed(const QRectF &target) const; // where paint(p, target) puts the picture
    void paint(QPainter &p, const QRectF &target) const;
    QImage toImage(QSize size) const;

    bool operator==(const Picture &o) const { return d_ == o.d_; }

    // For the drawing of pictures ahead of a window's (drawPicturesAhead).
    struct Data;
    struct Drawing;

private:
    struct Source;
    std::shared_ptr<Data> d_;
};

} // namespace forms

namespace forms {
// The program's own mouse pointer, a large white arrow; controls laid out with the custom
// pointer carry it.
QCursor programCursor();
QCursor cursorFromFile(const QString &png, int hotX, int hotY);

// Draws the window once where nothing is kept, ahead of its first drawing, then the
// pictures that pass came across side by side on the machine's processors, so that its
// drawing finds them ready. A window just built also draws its big text a shade differently the
// first time (at the edges of the letters) from every time after; after this pass its
// first real drawing is the one it keeps.
void drawPicturesAhead(QWidget *window);

// Reads the program's pictures and its pointer while the event loop has nothing else to
// do, one file at a time, so that the windows to come find them ready; started once the
// first window is up. Stopped when the windows are all unloaded.
void preparePicturesWhenIdle();
void stopPreparingPictures();
}
