#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <string_view>

// The window's design is in twips, points and &H00BBGGRR colours; these turn them into
// logical pixels and QColor. Qt's device-pixel ratio scales the whole window on high-dpi screens.
namespace tolvex::units {

inline constexpr int kTwipsPerPixel = 15;

inline int pixels(int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); }

// Font sizes are set in pixels (points at 96 dpi): point sizes are rescaled by the X
// resources' dpi, pixel sizes are not.
inline int fontPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

inline QColor colour(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// Sets a control's BackColor (QPalette::Window) or ForeColor (QPalette::WindowText); a
// missing control of an array (nullptr) is skipped.
inline void setColour(QWidget* control, QPalette::ColorRole role, std::uint32_t bgr) {
    if (!control) return;
    QPalette palette = control->palette();
    palette.setColor(role, colour(bgr));
    control->setPalette(palette);
}

// Full hinting keeps bold 13 px "Courier New" at exactly 8 pixels a character, the cell the
// design's label sizes are made of.
inline QFont font(std::string_view family, double points, bool bold) {
    QFont f(QString::fromUtf8(family.data(), qsizetype(family.size())));
    f.setPixelSize(fontPixels(points));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

}  // namespace tolvex::units
