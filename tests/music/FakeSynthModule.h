#pragma once

#include <string>

// What the fake synthesizer module was asked, as its calls' names with a space after each, and
// what its start answers.
struct FakeSynthState {
    std::string log;
    int startResult = 0;
};

extern "C" FakeSynthState* fake_synth_state(void);
typedef FakeSynthState* (*FakeSynthStateEntry)(void);
