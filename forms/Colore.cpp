#include "Colore.h"
#include <QApplication>
#include <QPalette>
#include <cmath>
#include <limits>

namespace forms {

QColor toQColor(int32_t value)
{
    if (value < 0) {
        const QPalette pal = QApplication::palette();
        switch (uint32_t(value) & 0xFF) {
        case 0x05: return pal.color(QPalette::Base);
        case 0x08: return pal.color(QPalette::Text);
        case 0x0D: return pal.color(QPalette::Highlight);
        case 0x0E: return pal.color(QPalette::HighlightedText);
        case 0x0F: return pal.color(QPalette::Button);
        case 0x12: return pal.color(QPalette::ButtonText);
        case 0x14: return pal.color(QPalette::Light);
        case 0x10: return pal.color(QPalette::Mid);
        case 0x11: return pal.color(QPalette::PlaceholderText);
        case 0x15: return pal.color(QPalette::Shadow);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t fromQColor(const QColor &c) { return RGB(c.red(), c.green(), c.blue()); }

int32_t colourFromDouble(double value)
{
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value);
    if (r >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (r <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return int32_t(r);
}

} // namespace forms
