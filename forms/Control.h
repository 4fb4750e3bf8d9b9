#pragma once
// One control of a window: name and array index, its container, a twip rectangle (end
// points for a line) and the properties and events the windows use. Every kind shares
// this one class; a property a kind does not show is simply kept.
#include "Colore.h"
#include "Picture.h"
#include <QCursor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include <QWidget>
#include <QAction>
#include <QMenu>
class QTimer;
class QMimeData;

namespace forms {

class Form;

enum class Kind {
    Label, CommandButton, PictureBox, Frame, Image, Shape, Line,
    OptionButton, CheckBox, HScrollBar, ComboBox, ListBox, TextBox,
    Timer, Menu, TabStrip, RichTextBox
};

struct FontSpec {
    QString name = QStringLiteral("Arial");
    double size = 8.25;
    bool bold = false;
    bool italic = false;
};

class Control;
// What a drag of a control carries; a drop resolves it back to the control while the
// control's window is loaded.
QMimeData *mimeForDrag(Control *source);
Control *controlFromDrag(const QMimeData *mime);

// Mouse pointers a control can show.
enum : int { vbDefault = 0, vbArrow = 1, vbCustom = 99 };

// Shapes and fills of a Shape control.
enum : int { vbShapeRectangle = 0, vbShapeSquare = 1, vbShapeOval = 2, vbShapeCircle = 3,
             vbShapeRoundedRectangle = 4, vbShapeRoundedSquare = 5 };
enum : int { vbFSSolid = 0, vbFSTransparent = 1 };

// What a multi-line box takes from one paste or drop, and what it holds at most once text
// is pasted or dropped into it (characters). A note is a few lines: ten pages at once, and
// a box of a hundred, are far more than one needs and still laid out at once, even as one
// paragraph; megabytes of text would keep the window laying it out for minutes.
constexpr int kPasteMaxChars = 20000;
constexpr int kBoxMaxCharsWithPaste = 200000;

// Key codes the handlers receive.
enum : int { vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyEscape = 27, vbKeySpace = 32 };

class Control {
public:
    Control(Form *form, Kind kind, const QString &name, int index);
    ~Control();
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    // Identity
    Kind kind() const { return kind_; }
    const QString &Name() const { return name_; }
    int Index() const { return index_; }
    bool isArrayMember() const { return index_ >= 0; }
    QString fullName() const; // "Command1(5)" or "Label1"
    Form *form() const { return form_; }
    Control *Container() const { return container_; }
    // Menus and timers have no position of their own.
    bool hasGeometry() const { return kind_ != Kind::Menu && kind_ != Kind::Timer; }
    bool hasCaption() const;
    // Lightweight controls (labels, images, shapes, lines) lie beneath the others.
    bool isLightweight() const;

    // Geometry in twips, relative to the container. For a line these are X1, Y1, X2, Y2.
    double Left() const { return g_[0]; }
    double Top() const { return g_[1]; }
    double Width() const { return g_[2]; }
    double Height() const { return g_[3]; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void Move(double left, double top, double width, double height);
    double X1() const { return g_[0]; }
    double Y1() const { return g_[1]; }
    double X2() const { return g_[2]; }
    double Y2() const { return g_[3]; }

    // Texts
    const QString &Caption() const { return caption_; }
    void setCaption(const QString &s);
    QString Text() const;
    void setText(const QString &s);
    const QString &Tag() const { return tag_; }
    void setTag(const QString &s) { tag_ = s; }
    const QString &ToolTipText() const { return toolTip_; }
    void setToolTipText(const QString &s);

    // State and look
    bool Visible() const { return visible_; }
    void setVisible(bool v);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t c);
    int32_t ForeColor() const { return foreColor_; }
    void setForeColor(int32_t c);
    const FontSpec &Font() const { return font_; }
    void setFont(const FontSpec &f);
    double FontSize() const { return font_.size; }
    void setFontSize(double points);
    int Alignment() const { return alignment_; } // 0 left, 1 right, 2 centre
    void setAlignment(int a);
    bool AutoSize() const { return autoSize_; }
    int BackStyle() const { return backStyle_; } // 0 transparent, 1 opaque
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int s);
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int p);
    const QCursor &MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QCursor &c);

    // Shapes and lines
    int Shape() const { return shape_; }
    void setShape(int s);
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int s);
    int32_t FillColor() const { return fillColor_; }
    void setFillColor(int32_t c);
    int32_t BorderColor() const { return borderColor_; }
    void setBorderColor(int32_t c);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);

    // Pictures
    const Picture &picture() const { return picture_; }
    void setPicture(const Picture &p);
    bool Stretch() const { return stretch_; }

    // Values: option (0/1), check box (0/1/2), scroll bar
    int Value() const { return value_; }
    void setValue(int v);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void setLargeChange(int v);

    // Lists
    void AddItem(const QString &item);
    void AddItems(const QStringList &items); // several at once, at the end
    void Clear();
    int ListCount() const { return items_.size(); }
    QString List(int i) const { return i >= 0 && i < items_.size() ? items_[i] : QString(); }
    int ListIndex() const { return listIndex_; }
    void setListIndex(int i); // raises Click when the selection changes

    // Text boxes
    bool Locked() const { return locked_; }
    void setLocked(bool l);

    // Timers
    int Interval() const { return interval_; }
    void setInterval(int ms);

    // Menu items
    bool Checked() const { return checked_; }
    void setChecked(bool c);

    // Tab strips: captions by tab number, counting from 0.
    int TabCount() const { return tabs_.size(); }
    QString TabCaption(int i) const { return i >= 0 && i < tabs_.size() ? tabs_[i] : QString(); }
    void setTabCaption(int i, const QString &s);
    bool hasCaptionByTabIndex() const { return tabsByIndex_; }

    // Dragging: in automatic drag mode (1) a press starts dragging this control; the control
    // it is dropped on receives DragDrop with this control as the source.
    int DragMode() const { return dragMode_; }
    void setDragMode(int m) { dragMode_ = m; }

    void SetFocus();
    void ZOrder(int position = 0); // 0 to the front, 1 to the back

    // Controls that the pupil sees as one thing and that do one thing (a tile's caption and
    // its picture, a sample picture and its option): a press on any of them is a press on
    // that thing. Each names the first of them; that one names none.
    void actsWith(Control *first) { first_ = first != this ? first : nullptr; }
    const Control *thing() const { return first_ ? first_ : this; }
    // Whether a press on it does something: it has a handler for one, starts a drag, or is
    // a kind that takes presses itself (buttons, options, lists, boxes, tabs).
    bool takesPresses() const;
    // The control a widget of the kit stands for; none for any other widget.
    static Control *of(const QObject *w);

    // Events, as the windows handle them. Key codes and characters are passed by
    // reference: a handler may cancel a character by setting it to 0.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> Change;
    std::function<void(int button, int shift, double x, double y)> MouseDown;
    std::function<void(int button, int shift, double x, double y)> MouseMove;
    std::function<void(int button, int shift, double x, double y)> MouseUp;
    std::function<void(int &keyCode, int shift)> KeyDown;
    std::function<void(int &keyAscii)> KeyPress;
    std::function<void(int &keyCode, int shift)> KeyUp;
    std::function<void()> Timer;
    std::function<void(Control *source, double x, double y)> DragDrop;
    // A multi-line box: text pasted or dropped into it was cut to what the box takes
    // (raised once per paste or drop, after it).
    std::function<void()> PasteCut;

    // The kit's side: the widget (none for menus and timers).
    QWidget *widget() const { return widget_; }
    QAction *action() const { return action_; }
    QMenu *menu() const { return menu_; }
    QTimer *timer() const { return timer_; }
    int shapeOverhang() const;        // pixels a shape's border reaches outside it

    // Raising events from the widgets.
    void raiseClick();
    void raiseChange();
    void raiseMouse(int which, int button, int shift, double x, double y);
    bool raiseKeyDown(int &code, int shift);
    bool raiseKeyPress(int &ascii);
    bool raiseKeyUp(int &code, int shift);
    void raisePasteCut();

private:
    friend class Form;
    void createWidget(QWidget *parent);
    void applyGeometry();
    void applyLook();
    void applyCursor();
    void resizeToText();
    void refreshTimer();
    void syncList();

    Form *form_;
    Kind kind_;
    QString name_;
    int index_;
    Control *container_ = nullptr;
    double g_[4] = {0, 0, 0, 0};
    QString caption_, text_, tag_, toolTip_;
    bool visible_ = true, enabled_ = true;
    int32_t backColor_ = vbButtonFace, foreColor_ = vbButtonText;
    FontSpec font_;
    int alignment_ = 0;
    bool autoSize_ = false;
    int backStyle_ = 1;
    int borderStyle_ = 0;
    int mousePointer_ = vbDefault;
    QCursor mouseIcon_;
    int shape_ = vbShapeRectangle, fillStyle_ = vbFSTransparent;
    int32_t fillColor_ = 0, borderColor_ = vbWindowText;
    int borderWidth_ = 1;
    Picture picture_;
    bool stretch_ = false;
    int value_ = 0, min_ = 0, max_ = 32767, largeChange_ = 1;
    QStringList items_;
    int listIndex_ = -1;
    bool locked_ = false;
    int interval_ = 0;
    bool checked_ = false;
    QStringList tabs_;
    bool tabsByIndex_ = false;
    bool settingValue_ = false;
    bool clicking_ = false; // inside its own Click
    int dragMode_ = 0;
    const Control *first_ = nullptr; // compared, never followed

    QPointer<QWidget> widget_;
    QPointer<QAction> action_;
    QPointer<QMenu> menu_;
    QTimer *timer_ = nullptr;
};

} // namespace forms
