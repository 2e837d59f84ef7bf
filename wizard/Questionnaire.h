#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The questionnaire: its pages, their tabs, and every question with its answer box.
// This is the one place where the question texts live; the window shows them and the
// application file reads them back from the window.
namespace tolvex::wizard {

// Indices of the clickable labels (lblBtn).
inline constexpr std::int16_t kCloseButton = 0;
inline constexpr std::int16_t kHomePageLink = 1;
inline constexpr std::int16_t kFirstTab = 2;
inline constexpr std::int16_t kLastTab = 9;
inline constexpr std::int16_t kBeginButton = 10;
inline constexpr std::int16_t kFinishButton = 11;

inline constexpr std::int16_t kWelcomeTab = 2;
inline constexpr std::int16_t kGeneralTab = 3;

inline constexpr int kPageCount = 8;
inline constexpr int kQuestionCount = 22;

enum class AnswerBox { SingleLine, MultiLine };

struct Question {
    std::int16_t index;  // lblCaption and txtField index
    int page;            // fTab index
    std::string_view caption;
    AnswerBox box;
    int maxLength;  // 0 = no limit of its own
};

struct Page {
    int index;  // fTab index
    std::string_view tabCaption;
};

std::span<const Page> pages();
std::span<const Question> questions();

// The caption of lblCaption(index): a question, or one of the three texts without
// an answer box (22, 40, 41). Empty for an index that has no label.
std::optional<std::string_view> captionText(std::int16_t index);

std::string_view welcomeText();

}  // namespace tolvex::wizard
