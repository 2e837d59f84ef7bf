#pragma once

#include <thread>

namespace tolvex {

// Reads the system's font configuration (fontconfig's files and caches) on a thread of its own
// while the toolkit connects to the display. The window's first text would otherwise read it on
// the window's thread, between the toolkit's start and the window's showing.
class FontConfigReader {
public:
    FontConfigReader();
    // Waits until the configuration is read; call before the first widget is made.
    void wait();
    ~FontConfigReader();

private:
    std::thread thread_;
};

}  // namespace tolvex
