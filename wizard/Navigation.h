#pragma once

#include <cstdint>
#include <optional>

#include "Questionnaire.h"

// The rules of the window's navigation and highlighting, as plain functions: the window
// applies their results to its controls.
namespace tolvex::wizard {

// Indices of the clickable labels (lblBtn) that are not tabs.
inline constexpr std::int16_t kCloseButton = 0;
inline constexpr std::int16_t kHomePageLink = 1;
inline constexpr std::int16_t kBeginButton = 10;
inline constexpr std::int16_t kFinishButton = 11;

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
