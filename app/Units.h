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

// The designed font first, then fonts that keep its metrics: for "Courier New" the fonts of the
// same advance (600 of 1000 units), never a wider mono font such as the desktop's default,
// which would clip the tab captions and the link; for "MS Sans Serif" (only the eye lights' two
// dots) first the sans font whose dots the icon's eye sockets were drawn under, then others.
inline QStringList fontFamilies(std::string_view designed) {
    const QString family = QString::fromUtf8(designed.data(), qsizetype(designed.size()));
    if (family == QLatin1String("Courier New"))
        return {family, QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                QStringLiteral("Nimbus Mono PS"), QStringLiteral("FreeMono")};
    if (family == QLatin1String("MS Sans Serif"))
        return {family,
                QStringLiteral("DejaVu Sans"),
                QStringLiteral("Liberation Sans"),
                QStringLiteral("Arimo"),
                QStringLiteral("Nimbus Sans"),
                QStringLiteral("FreeSans")};
    return {family};
}

// Full hinting keeps bold 13 px "Courier New" at exactly 8 pixels a character, the cell the
// design's label sizes are made of.
inline QFont font(std::string_view family, double points, bool bold) {
    QFont f;
    f.setFamilies(fontFamilies(family));
    f.setPixelSize(fontPixels(points));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

}  // namespace tolvex::units
