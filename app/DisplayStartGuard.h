#pragma once

#include <QtMessageHandler>

namespace tolvex {

// Holds back every line logged while the toolkit starts. Should the toolkit give up for want of
// a display it can use, one line says why (displayProblem) and the program ends with status 1,
// instead of the toolkit's abort and its long report; the held lines, the toolkit's own attempts
// among them, are dropped. Once the toolkit has started, they are passed on in order.
//
// The display is asked only then: checking it before every start cost a connection to the
// display server of its own.
class DisplayStartGuard {
public:
    DisplayStartGuard();
    // Passes on the lines held; call once the application object is made.
    void started();
    ~DisplayStartGuard();

    DisplayStartGuard(const DisplayStartGuard&) = delete;
    DisplayStartGuard& operator=(const DisplayStartGuard&) = delete;
};

}  // namespace tolvex
