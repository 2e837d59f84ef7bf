#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
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
inline constexpr std::int16_t kCourierTab = 4;
inline constexpr std::int16_t kSiteOpTab = 5;
inline constexpr std::int16_t kBotMasterTab = 6;
inline constexpr std::int16_t kCoderTab = 7;
inline constexpr std::int16_t kOtherTab = 8;
inline constexpr std::int16_t kFinishTab = 9;

struct Tab {
    std::int16_t button;  // lblBtn index
    std::string_view caption;
    int row;   // fTabHolder index: 0 for Welcome to Site op, 1 for Bot Master to Finish
    int slot;  // place in its row, from the left
};

inline constexpr std::array<Tab, 8> kTabs{{
    {kWelcomeTab, "Welcome", 0, 0},
    {kGeneralTab, "General", 0, 1},
    {kCourierTab, "Courier", 0, 2},
    {kSiteOpTab, "Site op", 0, 3},
    {kBotMasterTab, "Bot Master", 1, 0},
    {kCoderTab, "Coder", 1, 1},
    {kOtherTab, "Other", 1, 2},
    {kFinishTab, "Finish", 1, 3},
}};

constexpr bool isTab(std::int16_t button) { return button >= kFirstTab && button <= kLastTab; }
constexpr const Tab& tab(std::int16_t button) {
    if (!isTab(button)) throw std::out_of_range("lblBtn index is not a tab");
    return kTabs[std::size_t(button - kFirstTab)];
}
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
inline constexpr std::array<Question, kQuestionCount> kQuestions{{
    {1, "Nick:", AnswerBox::SingleLine, 0},
    {1, "Age:", AnswerBox::SingleLine, 2},
    {1, "Country:", AnswerBox::SingleLine, 0},
    {1, "Connection Speed:", AnswerBox::SingleLine, 0},
    {1, "E-mail:", AnswerBox::SingleLine, 0},
    {1, "How long have you been on the scene?", AnswerBox::SingleLine, 0},
    {1, "Past Affiliations:", AnswerBox::SingleLine, 0},
    {1, "Current Affiliations:", AnswerBox::SingleLine, 0},
    {2, "How many megs can you curry in a week?", AnswerBox::SingleLine, 0},
    {2, "Which program(s) do you use to transfer software?", AnswerBox::SingleLine, 0},
    {3, "Speed of the site:", AnswerBox::SingleLine, 0},
    {3, "How many gigs can the site store?", AnswerBox::SingleLine, 0},
    {3, "Can you supply individual user accounts?", AnswerBox::SingleLine, 0},
    {3, "Name other groups, if any, that your site shares:", AnswerBox::MultiLine, 0},
    {4, "How long have you been a bot master?", AnswerBox::SingleLine, 0},
    {4, "How Many Bots Can You Supply?", AnswerBox::SingleLine, 0},
    {4, "Is the bot on any other channel? If so, specify:", AnswerBox::MultiLine, 0},
    {5, "How long have you been coding?", AnswerBox::SingleLine, 0},
    {5, "What language(s) do you program in?", AnswerBox::SingleLine, 0},
    {5, "How did you learn to program?", AnswerBox::SingleLine, 0},
    {5, "What can you do?", AnswerBox::MultiLine, 0},
    {6, "Tell us as much as you can about this position and why you would be qualified for it.",
     AnswerBox::MultiLine, 0},
}};

// The captions without an answer box: lblCaption(label) on its page.
struct Note {
    std::int16_t label;
    int page;
    std::string_view caption;
};

inline constexpr std::array<Note, 3> kNotes{{
    {22, 7,
     "Thank you for taking the time and filling in this application. Click on 'Finish' to complete the "
     "application process. The program will create a file called yourname.app. Please give it to Drovak or "
     "Pellum in #TolvexHQ on EFnet."},
    {40, 1, "Click on the tabs that apply to the jobs you're applying to"},
    {41, 5, "Please include a sample of your work."},
}};

// The page (fTab index) of lblCaption(index): its question's or its note's. An index that has no
// label is an error, which stops a table made at compile time from compiling.
constexpr int captionPage(std::int16_t index) {
    if (index >= 0 && index < kQuestionCount) return kQuestions[std::size_t(index)].page;
    for (const Note& note : kNotes)
        if (note.label == index) return note.page;
    throw std::out_of_range("lblCaption index has no caption");
}

// The first question on a page, in the keyboard's order; nothing for a page without questions.
std::optional<std::int16_t> firstQuestionOn(int page);

// The caption of lblCaption(index): a question, or one of the three texts without an answer
// box (22, 40, 41); nothing for an index that has no label.
std::optional<std::string_view> captionText(std::int16_t index);

std::string_view welcomeText();

}  // namespace tolvex::wizard
