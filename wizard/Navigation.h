#pragma once

#include <cstdint>

#include "Questionnaire.h"

// Where the tabs live and what marks the current one: the page switch of the window
// follows these rules.
namespace tolvex::wizard {

constexpr bool isTab(std::int16_t button) { return button >= kFirstTab && button <= kLastTab; }

// Tab k shows page k - 2.
constexpr int pageOfTab(std::int16_t tab) { return tab - kFirstTab; }

// Row 0 (fTabHolder(0)) holds Welcome to Site op, row 1 holds Bot Master to Finish.
constexpr int rowOfTab(std::int16_t tab) { return tab <= 5 ? 0 : 1; }

// Fixed row positions in twips: the rows are set to these, never exchanged, so they cannot drift.
inline constexpr int kFrontRowTop = 1215;
inline constexpr int kBackRowTop = 930;

// Colours as &H00BBGGRR.
inline constexpr std::uint32_t kSelectedTabColour = 0x00A92C54;  // the page colour
inline constexpr std::uint32_t kUnselectedTabColour = 0x00808080;
inline constexpr std::uint32_t kButtonTextColour = 0x00FFC0C0;
inline constexpr std::uint32_t kHoverTextColour = 0x000080FF;

}  // namespace tolvex::wizard
