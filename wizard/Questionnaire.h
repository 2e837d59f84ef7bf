#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The questionnaire: its pages, the tabs that show them, and every question with its answer
// box. This is the one place where these indices and texts live; the window shows them and
// the application file reads them back from the window.
namespace tolvex::wizard {

// The eight tabs, lblBtn 2 to 9; tab k shows page fTab(k - 2).
inline constexpr std::int16_t kFirstTab = 2;
inline constexpr std::int16_t kLastTab = 9;
inline constexpr std::int16_t kWelcomeTab = 2;
inline constexpr std::int16_t kGeneralTab = 3;
inline constexpr std::int16_t kFinishTab = 9;

struct Tab {
    std::int16_t button;  // lblBtn index
    std::string_view caption;
    int row;   // fTabHolder index: 0 for Welcome to Site op, 1 for Bot Master to Finish
    int slot;  // place in its row, from the left
};

inline constexpr std::array<Tab, 8> kTabs{{
    {2, "Welcome", 0, 0},
    {3, "General", 0, 1},
    {4, "Courier", 0, 2},
    {5, "Site op", 0, 3},
    {6, "Bot Master", 1, 0},
    {7, "Coder", 1, 1},
    {8, "Other", 1, 2},
    {9, "Finish", 1, 3},
}};

constexpr bool isTab(std::int16_t button) { return button >= kFirstTab && button <= kLastTab; }
constexpr const Tab& tab(std::int16_t button) { return kTabs[std::size_t(button - kFirstTab)]; }
constexpr int pageOfTab(std::int16_t button) { return button - kFirstTab; }

inline constexpr int kQuestionCount = 22;

enum class AnswerBox { SingleLine, MultiLine };

struct Question {
    int page;  // fTab index; the application file groups the answers by page
    std::string_view caption;
    AnswerBox box;
    int maxLength;  // 0: no limit
};

// Question i is lblCaption(i) with its answer box txtField(i).
std::span<const Question> questions();

// The first question on a page, in the keyboard's order; nothing for a page without questions.
std::optional<std::int16_t> firstQuestionOn(int page);

// The caption of lblCaption(index): a question, or one of the three texts without an answer
// box (22, 40, 41); nothing for an index that has no label.
std::optional<std::string_view> captionText(std::int16_t index);

std::string_view welcomeText();

}  // namespace tolvex::wizard
