#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tolvex::music {

// True when the bytes have the structure of a Standard MIDI File that the synthesizer's
// player can load: an "MThd" header of length 6 with format 0, 1 or 2, 1 to 128 tracks and a
// ticks-per-quarter-note division, followed by exactly that many "MTrk" chunks that fit in
// the bytes, and after them nothing but zero bytes.
bool isPlayableMidi(QByteArrayView bytes);

// The file's bytes when it can be read and isPlayableMidi accepts them; nothing otherwise.
std::optional<QByteArray> readPlayableMidiFile(const QString& path);

}  // namespace tolvex::music
