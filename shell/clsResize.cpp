#include "clsResize.h"
#include "forms/Form.h"
#include "forms/Twips.h"
#include "platform/Redraw.h"
#include <cmath>

namespace {
// Whole numbers, halves to the even neighbour.
int32_t arrotonda(double v) { return int32_t(std::nearbyint(v)); }
}

ScalaTag LeggiTag(const QString &tag)
{
    const QString t = tag.toUpper();
    if (!t.startsWith(QLatin1Char('@'))) return {};
    return {t.contains(QLatin1Char('L')), t.contains(QLatin1Char('T')), t.contains(QLatin1Char('W')),
            t.contains(QLatin1Char('H'))};
}

clsResize::clsResize() = default;

clsResize::~clsResize()
{
    ControlPositions_.clear();
    SourceForm_ = nullptr;
}

void clsResize::RecordControlPositions()
{
    if (!SourceForm_) return;
    OrigWidth_ = arrotonda(SourceForm_->ScaleWidth());
    OrigHeight_ = arrotonda(SourceForm_->ScaleHeight());
    ControlPositions_.clear();
    for (forms::Control *c : SourceForm_->Controls()) {
        ControlRecord r;
        r.form = SourceForm_;
        r.control = c;
        if (c->hasGeometry()) {
            r.Left = arrotonda(c->Left());
            r.Top = arrotonda(c->Top());
            r.Width = arrotonda(c->Width());
            r.Height = arrotonda(c->Height());
        }
        ControlPositions_.push_back(r);
    }
    FirstTime_ = false;
}

void clsResize::SizeFormToScreen(uint8_t Percent)
{
    if (!SourceForm_) return;
    if (FirstTime_) RecordControlPositions();
    const double sh = forms::Screen::Height(), sw = forms::Screen::Width();
    const double H = std::floor(Percent / 100.0 * sh);
    const double W = std::floor(Percent / 100.0 * sw);
    SourceForm_->setTop((sh - H) / 2);
    SourceForm_->setLeft((sw - W) / 2);
    SourceForm_->setHeight(H);
    SourceForm_->setWidth(W);
    ResizeControls();
}

void clsResize::ResizeControls()
{
    // A window unloaded meanwhile (one loaded only to read it) is no longer laid out.
    if (!SourceForm_ || !SourceForm_->isLoaded()) return;
    if (SourceForm_->Controls().empty() || SourceForm_->isMinimized()) return;
    if (FirstTime_) {
        RecordControlPositions();
        return;
    }
    if (OrigWidth_ == 0 || OrigHeight_ == 0) return;
    platform::lockWindowUpdate(SourceForm_->window());
    const double ratioH = SourceForm_->ScaleHeight() / OrigHeight_;
    const double ratioW = SourceForm_->ScaleWidth() / OrigWidth_;
    for (const ControlRecord &r : ControlPositions_) {
        if (!r.form || !r.control->hasGeometry()) continue;
        forms::Control *c = r.control;
        const ScalaTag t = LeggiTag(c->Tag());
        // Lines keep their end points in the same four fields.
        const double l = t.L ? r.Left * ratioW : c->Left();
        const double tp = t.T ? r.Top * ratioH : c->Top();
        const double w = t.W ? r.Width * ratioW : c->Width();
        const double h = t.H ? r.Height * ratioH : c->Height();
        c->Move(l, tp, w, h);
    }
    platform::lockWindowUpdate(nullptr);
}
