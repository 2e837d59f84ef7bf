#include "Questionnaire.h"

namespace tolvex::wizard {

namespace {

using enum AnswerBox;

constexpr std::array<Question, kQuestionCount> kQuestions{{
    {1, "Nick:", SingleLine, 0},
    {1, "Age:", SingleLine, 2},
    {1, "Country:", SingleLine, 0},
    {1, "Connection Speed:", SingleLine, 0},
    {1, "E-mail:", SingleLine, 0},
    {1, "How long have you been on the scene?", SingleLine, 0},
    {1, "Past Affiliations:", SingleLine, 0},
    {1, "Current Affiliations:", SingleLine, 0},
    {2, "How many megs can you curry in a week?", SingleLine, 0},
    {2, "Which program(s) do you use to transfer software?", SingleLine, 0},
    {3, "Speed of the site:", SingleLine, 0},
    {3, "How many gigs can the site store?", SingleLine, 0},
    {3, "Can you supply individual user accounts?", SingleLine, 0},
    {3, "Name other groups, if any, that your site shares:", MultiLine, 0},
    {4, "How long have you been a bot master?", SingleLine, 0},
    {4, "How Many Bots Can You Supply?", SingleLine, 0},
    {4, "Is the bot on any other channel? If so, specify:", MultiLine, 0},
    {5, "How long have you been coding?", SingleLine, 0},
    {5, "What language(s) do you program in?", SingleLine, 0},
    {5, "How did you learn to program?", SingleLine, 0},
    {5, "What can you do?", MultiLine, 0},
    {6, "Tell us as much as you can about this position and why you would be qualified for it.", MultiLine,
     0},
}};

}  // namespace

std::span<const Question> questions() { return kQuestions; }

std::optional<std::int16_t> firstQuestionOn(int page) {
    // The keyboard walks the answer boxes in the order of their questions.
    for (std::size_t i = 0; i < kQuestions.size(); ++i)
        if (kQuestions[i].page == page) return std::int16_t(i);
    return std::nullopt;
}

std::optional<std::string_view> captionText(std::int16_t index) {
    if (index >= 0 && index < kQuestionCount) return kQuestions[std::size_t(index)].caption;
    switch (index) {
        case 22:
            return "Thank you for taking the time and filling in this application. Click on 'Finish' to "
                   "complete the application process. The program will create a file called yourname.app. "
                   "Please give it to Drovak or Pellum in #TolvexHQ on EFnet.";
        case 40: return "Click on the tabs that apply to the jobs you're applying to";
        case 41: return "Please include a sample of your work.";
        default: return std::nullopt;
    }
}

std::string_view welcomeText() {
    return "Welcome to the Tolvex Devoz Application Generator. Click Begin to start.";
}

}  // namespace tolvex::wizard
