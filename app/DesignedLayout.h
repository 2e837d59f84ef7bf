#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "Questionnaire.h"

// The window's designed state as data: one row per control, in the window's own terms
// (twips, points, &H00BBGGRR colours). LayoutBuilder turns the rows into widgets.
namespace tolvex::layout {

enum class ControlKind { Label, TextBox, Frame, Image, Shape };

enum Flag : unsigned {
    NoFlags = 0,
    Hidden = 1u << 0,
    AutoSize = 1u << 1,  // sizes itself to its caption on one line
    WordWrap = 1u << 2,  // fixed size, wraps at word boundaries
    AlignCentre = 1u << 3,
    AlignRight = 1u << 4,
    Opaque = 1u << 5,             // paints its background colour
    QuestionnaireText = 1u << 6,  // caption comes from the questionnaire
    Decoration = 1u << 7,         // kept out of a screen reader's way
};

struct Container {
    std::string_view name;  // empty: the window itself
    std::int16_t index;
};

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

struct Font {
    std::string_view family;
    double points;  // 0: no font of its own
    bool bold;
};

struct ControlRow {
    ControlKind kind;
    std::string_view name;
    std::int16_t index;  // -1: not a member of a control array
    Container container;
    Twips rect;
    std::string_view caption;
    Font font;
    std::optional<std::uint32_t> foreColour;
    std::optional<std::uint32_t> backColour;
    unsigned flags;
    int tabOrder;  // -1: the control has no place in the keyboard order
};

// The colours (&H00BBGGRR) that the handlers set as well as the table.
inline constexpr std::uint32_t kPageViolet = 0x00A92C54;  // the pages, and the tab of the page shown
inline constexpr std::uint32_t kGrey = 0x00808080;  // the other tabs, the title strip, the corner circle
inline constexpr std::uint32_t kLightViolet = 0x00FFC0C0;  // the text of the tabs and buttons
inline constexpr std::uint32_t kHoverOrange = 0x000080FF;  // that text under the pointer

// The tops of the tab rows in twips. The rows are set to these, never exchanged, so they cannot drift.
inline constexpr int kFrontRowTop = 1215;
inline constexpr int kBackRowTop = 930;

// The background of a tab while `current` is the tab whose page is shown: the shown tab merges
// with its page.
constexpr std::uint32_t tabColour(std::int16_t button, std::int16_t current) {
    return button == current ? kPageViolet : kGrey;
}

// The top of a tab row while `current` is shown: the row holding it stands in front.
constexpr int rowTop(int row, std::int16_t current) {
    return row == wizard::tab(current).row ? kFrontRowTop : kBackRowTop;
}

// Every control of the window; the controls of each container are listed topmost first.
std::span<const ControlRow> designedControls();

// The window itself.
inline constexpr int kWindowWidthTwips = 7515;
inline constexpr int kWindowHeightTwips = 5385;
inline constexpr std::uint32_t kWindowBackColour = 0x00000000;
inline constexpr char kWindowCaption[] = "Tolvex App";

}  // namespace tolvex::layout
