#pragma once

#include <cstdint>
#include <optional>

#include "Questionnaire.h"

// The rules of the window's navigation and highlighting, as plain functions: the window
// applies their results to its controls.
namespace tolvex::wizard {

// Colours as &H00BBGGRR. The selected tab has the pages' colour, so that it merges with its page.
inline constexpr std::uint32_t kPageColour = 0x00A92C54;
inline constexpr std::uint32_t kUnselectedTabColour = 0x00808080;
inline constexpr std::uint32_t kButtonTextColour = 0x00FFC0C0;
inline constexpr std::uint32_t kHoverTextColour = 0x000080FF;

// Row positions in twips. The rows are set to these, never exchanged, so they cannot drift.
inline constexpr int kFrontRowTop = 1215;
inline constexpr int kBackRowTop = 930;

enum class ButtonAction { Close, OpenHomePage, ShowPage, Begin, Finish, Nothing };

ButtonAction actionOf(std::int16_t button);

// What a click on tab `to` changes while tab `from` is current; nothing when `to` is the
// current tab or no tab at all.
struct PageSwitch {
    std::optional<int> frontRow;  // the row to bring to the front, when it is not there yet
    std::int16_t fromTab;
    std::int16_t toTab;
};
std::optional<PageSwitch> pageSwitch(std::int16_t from, std::int16_t to);

// The background of a tab while `current` is the tab whose page is shown.
constexpr std::uint32_t tabColour(std::int16_t button, std::int16_t current) {
    return button == current ? kPageColour : kUnselectedTabColour;
}

// The top of a tab row while `current` is shown: the row holding it stands in front.
constexpr int rowTop(int row, std::int16_t current) {
    return row == tab(current).row ? kFrontRowTop : kBackRowTop;
}

// What a pointer move over label `over` changes while `lit` is drawn in the hover colour
// (-1 for none): the label to put out, if any, and the label to light; nothing when `over` is
// already lit.
struct HoverChange {
    std::optional<std::int16_t> putOut;
    std::int16_t light;
};
std::optional<HoverChange> hoverChange(std::int16_t lit, std::int16_t over);

// The tab `steps` away from `current` in the order Welcome ... Finish, wrapping around.
std::int16_t tabAfter(std::int16_t current, int steps);

// The button that the Return key stands for while `current` is shown: "Begin" on the Welcome
// page, "Finish" on the Finish page; nothing elsewhere.
std::optional<std::int16_t> returnKeyButton(std::int16_t current);

}  // namespace tolvex::wizard
