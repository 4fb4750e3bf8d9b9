#pragma once
// A window's layout as data: one entry per control, in layout order, with its container,
// twip rectangle, texts and look. Windows declare it once; the form builds it on load.
#include "Control.h"
#include <deque>

namespace forms {

struct ControlSpec {
    Kind kind = Kind::Label;
    QString name;
    int index = -1;
    QString container;            // "" for the window itself; a menu's parent menu
    int containerIndex = -1;
    double rect[4] = {0, 0, 0, 0};
    QString caption, text, tag, toolTip;
    bool visible = true, enabled = true;
    int32_t backColor = vbButtonFace, foreColor = vbButtonText;
    bool backSet = false, foreSet = false;
    FontSpec font;
    int alignment = 0;
    bool autoSize = false;
    int backStyle = 1;
    int borderStyle = -1; // -1: the kind's default
    int mousePointer = vbDefault;
    QString mouseIcon; int hotX = 0, hotY = 0;
    int shape = vbShapeRectangle, fillStyle = vbFSTransparent;
    int32_t fillColor = 0, borderColor = vbWindowText;
    int borderWidth = 1;
    QString picture;
    bool stretch = false;
    int value = 0, min = 0, max = 32767;
    int interval = 0;
    bool checked = false;
    QStringList tabs;
    int dragMode = 0;

    ControlSpec &in(const QString &parent, int parentIndex = -1) { container = parent; containerIndex = parentIndex; return *this; }
    ControlSpec &at(double l, double t, double w, double h) { rect[0] = l; rect[1] = t; rect[2] = w; rect[3] = h; return *this; }
    ControlSpec &line(double x1, double y1, double x2, double y2) { return at(x1, y1, x2, y2); }
    ControlSpec &cap(const QString &s) { caption = s; return *this; }
    ControlSpec &txt(const QString &s) { text = s; return *this; }
    ControlSpec &withTag(const QString &s) { tag = s; return *this; }
    ControlSpec &tip(const QString &s) { toolTip = s; return *this; }
    ControlSpec &hidden() { visible = false; return *this; }
    ControlSpec &disabled() { enabled = false; return *this; }
    ControlSpec &back(int32_t c) { backColor = c; backSet = true; return *this; }
    ControlSpec &fore(int32_t c) { foreColor = c; foreSet = true; return *this; }
    ControlSpec &withFont(const QString &face, double size, bool bold = false) { font = {face, size, bold, false}; return *this; }
    ControlSpec &align(int a) { alignment = a; return *this; }
    ControlSpec &autosized() { autoSize = true; return *this; }
    ControlSpec &transparent() { backStyle = 0; return *this; }
    ControlSpec &border(int style) { borderStyle = style; return *this; }
    ControlSpec &pointer(int p) { mousePointer = p; return *this; }
    ControlSpec &icon(const QString &png, int x, int y) { mousePointer = vbCustom; mouseIcon = png; hotX = x; hotY = y; return *this; }
    ControlSpec &shaped(int s) { shape = s; return *this; }
    ControlSpec &fill(int style, int32_t colour = 0) { fillStyle = style; fillColor = colour; return *this; }
    ControlSpec &outline(int32_t colour, int width = 1) { borderColor = colour; borderWidth = width; return *this; }
    ControlSpec &pic(const QString &path, bool stretched = true) { picture = path; stretch = stretched; return *this; }
    ControlSpec &val(int v) { value = v; return *this; }
    ControlSpec &range(int lo, int hi) { min = lo; max = hi; return *this; }
    ControlSpec &every(int ms) { interval = ms; return *this; }
    ControlSpec &check(bool c = true) { checked = c; return *this; }
    ControlSpec &draggable(int mode = 1) { dragMode = mode; return *this; }
    ControlSpec &withTabs(const QStringList &t) { tabs = t; return *this; }
};

class Layout {
public:
    ControlSpec &add(Kind kind, const QString &name, int index = -1)
    {
        ControlSpec &s = specs_.emplace_back();
        s.kind = kind;
        s.name = name;
        s.index = index;
        return s;
    }
    const std::deque<ControlSpec> &specs() const { return specs_; }

private:
    std::deque<ControlSpec> specs_; // deque: references stay valid while adding
};

} // namespace forms
