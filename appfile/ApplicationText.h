#pragma once

#include <QString>

#include <array>

#include "Questionnaire.h"

namespace tolvex::appfile {

using Texts = std::array<QString, wizard::kQuestionCount>;

// The application file's text: the two header lines and the six sections with every
// question and its answer, each line ended by CR LF.
// Single-line answers stay on their line (a line break that reached one is written as a
// space); multi-line answers follow their question with their own line breaks.
QString applicationText(const Texts& captions, const Texts& answers);

}  // namespace tolvex::appfile
