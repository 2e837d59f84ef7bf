#include "MidiFileCheck.h"

#include <QFile>

#include <algorithm>
#include <cstdint>

namespace tolvex::music {

namespace {

constexpr qsizetype kHeaderSize = 14;
constexpr qsizetype kChunkHeaderSize = 8;
// The player keeps at most this many tracks and fails to load a file with more.
constexpr unsigned kMaxTracks = 128;

std::uint32_t bigEndian(QByteArrayView bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

}  // namespace

bool isPlayableMidi(QByteArrayView bytes) {
    if (bytes.size() < kHeaderSize || !bytes.startsWith("MThd") || bigEndian(bytes, 4, 4) != 6) {
        return false;
    }
    const std::uint32_t format = bigEndian(bytes, 8, 2);
    const std::uint32_t tracks = bigEndian(bytes, 10, 2);
    const std::uint32_t division = bigEndian(bytes, 12, 2);
    // A division with the top bit set counts SMPTE frames, which the player does not support.
    if (format > 2 || tracks < 1 || tracks > kMaxTracks || division == 0 || (division & 0x8000) != 0) {
        return false;
    }

    qsizetype at = kHeaderSize;
    for (std::uint32_t track = 0; track < tracks; ++track) {
        if (bytes.size() - at < kChunkHeaderSize || bytes.sliced(at, 4) != "MTrk") {
            return false;
        }
        const std::uint32_t length = bigEndian(bytes, at + 4, 4);
        at += kChunkHeaderSize;
        if (static_cast<std::uint64_t>(bytes.size() - at) < length) {
            return false;
        }
        at += length;
    }
    const QByteArrayView rest = bytes.sliced(at);
    return std::all_of(rest.begin(), rest.end(), [](char byte) { return byte == 0; });
}

std::optional<QByteArray> readPlayableMidiFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || !isPlayableMidi(bytes)) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tolvex::music
