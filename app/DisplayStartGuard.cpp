#include "DisplayStartGuard.h"

#include <QString>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "DisplayCheck.h"
#include "WindowLog.h"

namespace tolvex {

namespace {

struct HeldLine {
    QtMsgType type;
    // The context's texts are the program's own constants, which outlive the line.
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString message;
};

// Recursive: explaining a failure asks the toolkit, which may log in turn.
std::recursive_mutex guarding;
QtMessageHandler passOnTo = nullptr;
bool holding = false;
std::vector<HeldLine> held;

void passOnHeld() {
    for (const HeldLine& line : std::exchange(held, {}))
        passOnTo(line.type, QMessageLogContext(line.file, line.line, line.function, line.category),
                 line.message);
}

void holdOrPassOn(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const std::lock_guard lock(guarding);
    if (!holding) return passOnTo(type, context, message);
    if (type != QtFatalMsg) {
        held.push_back({type, context.file, context.line, context.function, context.category, message});
        return;
    }
    // The toolkit gives up: nothing it could connect to, or something else (its report then).
    if (const std::optional<QString> problem = displayProblem()) {
        passOnTo(QtCriticalMsg, QMessageLogContext(nullptr, 0, nullptr, displayLog().categoryName()),
                 *problem);
        // Other threads run (the music's, the font configuration's): nothing of theirs is left
        // to finish, and a normal exit would pull their objects from under them.
        std::_Exit(1);
    }
    passOnHeld();
    passOnTo(type, context, message);
}

}  // namespace

DisplayStartGuard::DisplayStartGuard() {
    const std::lock_guard lock(guarding);
    holding = true;
    passOnTo = qInstallMessageHandler(holdOrPassOn);
}

void DisplayStartGuard::started() {
    const std::lock_guard lock(guarding);
    if (!holding) return;
    holding = false;
    passOnHeld();
    qInstallMessageHandler(passOnTo);
}

DisplayStartGuard::~DisplayStartGuard() { started(); }

}  // namespace tolvex
