#include "Questionnaire.h"

#include <array>

namespace tolvex::wizard {

namespace {

constexpr std::array<Page, kPageCount> kPages{{
    {0, "Welcome"},
    {1, "General"},
    {2, "Courier"},
    {3, "Site op"},
    {4, "Bot Master"},
    {5, "Coder"},
    {6, "Other"},
    {7, "Finish"},
}};

using enum AnswerBox;

constexpr std::array<Question, kQuestionCount> kQuestions{{
    {0, 1, "Nick:", SingleLine, 0},
    {1, 1, "Age:", SingleLine, 2},
    {2, 1, "Country:", SingleLine, 0},
    {3, 1, "Connection Speed:", SingleLine, 0},
    {4, 1, "E-mail:", SingleLine, 0},
    {5, 1, "How long have you been on the scene?", SingleLine, 0},
    {6, 1, "Past Affiliations:", SingleLine, 0},
    {7, 1, "Current Affiliations:", SingleLine, 0},
    {8, 2, "How many megs can you curry in a week?", SingleLine, 0},
    {9, 2, "Which program(s) do you use to transfer software?", SingleLine, 0},
    {10, 3, "Speed of the site:", SingleLine, 0},
    {11, 3, "How many gigs can the site store?", SingleLine, 0},
    {12, 3, "Can you supply individual user accounts?", SingleLine, 0},
    {13, 3, "Name other groups, if any, that your site shares:", MultiLine, 0},
    {14, 4, "How long have you been a bot master?", SingleLine, 0},
    {15, 4, "How Many Bots Can You Supply?", SingleLine, 0},
    {16, 4, "Is the bot on any other channel? If so, specify:", MultiLine, 0},
    {17, 5, "How long have you been coding?", SingleLine, 0},
    {18, 5, "What language(s) do you program in?", SingleLine, 0},
    {19, 5, "How did you learn to program?", SingleLine, 0},
    {20, 5, "What can you do?", MultiLine, 0},
    {21, 6, "Tell us as much as you can about this position and why you would be qualified for it.",
     MultiLine, 0},
}};

constexpr std::string_view kClosingText =
    "Thank you for taking the time and filling in this application. Click on 'Finish' to "
    "complete the application process. The program will create a file called yourname.app. "
    "Please give it to Drovak or Pellum in #TolvexHQ on EFnet.";
constexpr std::string_view kGeneralInstruction =
    "Click on the tabs that apply to the jobs you're applying to";
constexpr std::string_view kCoderInstruction = "Please include a sample of your work.";

}  // namespace

std::span<const Page> pages() { return kPages; }

std::span<const Question> questions() { return kQuestions; }

std::optional<std::string_view> captionText(std::int16_t index) {
    if (index >= 0 && index < kQuestionCount) return kQuestions[static_cast<std::size_t>(index)].caption;
    switch (index) {
        case 22: return kClosingText;
        case 40: return kGeneralInstruction;
        case 41: return kCoderInstruction;
        default: return std::nullopt;
    }
}

std::string_view welcomeText() {
    return "Welcome to the Tolvex Devoz Application Generator. Click Begin to start.";
}

}  // namespace tolvex::wizard
