#include "Questionnaire.h"

namespace tolvex::wizard {

std::optional<std::int16_t> firstQuestionOn(int page) {
    // The keyboard walks the answer boxes in the order of their questions.
    for (std::size_t i = 0; i < kQuestions.size(); ++i)
        if (kQuestions[i].page == page) return std::int16_t(i);
    return std::nullopt;
}

std::optional<std::string_view> captionText(std::int16_t index) {
    if (index >= 0 && index < kQuestionCount) return kQuestions[std::size_t(index)].caption;
    for (const Note& note : kNotes)
        if (note.label == index) return note.caption;
    return std::nullopt;
}

std::string_view welcomeText() {
    return "Welcome to the Tolvex Devoz Application Generator. Click Begin to start.";
}

}  // namespace tolvex::wizard
