#pragma once

class QWidget;

namespace tolvex {

// SIGTERM, SIGINT and SIGHUP (logging out, closing the terminal) close the window as its "X"
// does, so that the music stops cleanly, and end the program with status 0, from its first
// instant on.

// Catches the quit signals from now on; until closeOnQuitSignals, a signal ends the program at
// once, with status 0: there is no window yet, and nothing to close.
void catchQuitSignals();

// From now on a quit signal closes the window and leaves every event loop: the program's, and
// a box's that shows before the window does.
void closeOnQuitSignals(QWidget& window);

// A quit signal closed the window before it was shown (during a start-up box): the program
// ends without showing it.
bool closedBeforeShown();

}  // namespace tolvex
