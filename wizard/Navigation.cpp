#include "Navigation.h"

namespace tolvex::wizard {

ButtonAction actionOf(std::int16_t button) {
    if (isTab(button)) return ButtonAction::ShowPage;
    switch (button) {
        case kCloseButton: return ButtonAction::Close;
        case kHomePageLink: return ButtonAction::OpenHomePage;
        case kBeginButton: return ButtonAction::Begin;
        case kFinishButton: return ButtonAction::Finish;
        default: return ButtonAction::Nothing;
    }
}

std::optional<PageSwitch> pageSwitch(std::int16_t from, std::int16_t to) {
    if (!isTab(to) || !isTab(from) || to == from) return std::nullopt;
    const int row = tab(to).row;
    return PageSwitch{row == tab(from).row ? std::nullopt : std::optional(row), from, to};
}

std::optional<HoverChange> hoverChange(std::int16_t lit, std::int16_t over) {
    if (lit == over) return std::nullopt;
    return HoverChange{lit < 0 ? std::nullopt : std::optional(lit), over};
}

std::int16_t tabAfter(std::int16_t current, int steps) {
    const int count = kLastTab - kFirstTab + 1;
    const int offset = ((current - kFirstTab + steps) % count + count) % count;
    return std::int16_t(kFirstTab + offset);
}

std::optional<std::int16_t> returnKeyButton(std::int16_t current) {
    if (current == kWelcomeTab) return kBeginButton;
    if (current == kFinishTab) return kFinishButton;
    return std::nullopt;
}

}  // namespace tolvex::wizard
