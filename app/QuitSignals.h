#pragma once

class QWidget;

namespace tolvex {

// SIGTERM, SIGINT and SIGHUP (logging out, closing the terminal) close the window as its "X"
// does, so that the music stops cleanly, and end the program with status 0.
void closeOnQuitSignals(QWidget& window);

}  // namespace tolvex
