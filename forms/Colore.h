#pragma once
// Colour values as the windows store them: 0x00BBGGRR (red in the low byte), or, with the
// high bit set, a system colour whose low byte names an entry of the palette.
#include <QColor>
#include <cstdint>

namespace forms {

constexpr int32_t vbButtonFace = int32_t(0x8000000F);
constexpr int32_t vbButtonText = int32_t(0x80000012);
constexpr int32_t vbWindowBackground = int32_t(0x80000005);
constexpr int32_t vbWindowText = int32_t(0x80000008);
constexpr int32_t vbHighlight = int32_t(0x8000000D);
constexpr int32_t vbHighlightText = int32_t(0x8000000E);

constexpr int32_t RGB(int r, int g, int b) { return int32_t(r | (g << 8) | (b << 16)); }

QColor toQColor(int32_t value);
int32_t fromQColor(const QColor &c);
// Settings hold colours as double-precision numbers; a control takes them rounded to a
// 32-bit integer. Values outside 32 bits saturate instead of wrapping.
int32_t colourFromDouble(double value);

} // namespace forms
