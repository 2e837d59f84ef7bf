#pragma once

namespace tolvex::music {

// The answers of the media-command layer other than 0 (success). Every code is distinct and
// non-zero, so a caller that only tests for 0 sees each of them as a failure.
enum class MediaError : int {
    AliasNotOpen = 1,      // no device is open under the command's alias
    UnknownCommand = 2,    // not one of the four commands, or not well formed
    FileNotPlayable = 3,   // the file is missing, unreadable or not a playable MIDI file
    NoSoundFont = 4,       // the synthesizer has no sound font to play with
    NoAudioOutput = 5,     // no audio output could be opened
    AliasAlreadyOpen = 6,  // a device is already open under the alias
    PlayerFailed = 7,      // the synthesizer could not load or start the file's player
};

constexpr int code(MediaError error) { return static_cast<int>(error); }

}  // namespace tolvex::music
