#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

// Small Standard MIDI Files built byte by byte for the music tests.
namespace tolvex::music::test {

inline QByteArray bigEndian(std::uint32_t value, int width)
{
    QByteArray bytes;
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        bytes.append(static_cast<char>((value >> shift) & 0xFF));
    }
    return bytes;
}

// A MIDI variable-length number: seven bits a byte, most significant first.
inline QByteArray variableLength(std::uint32_t value)
{
    QByteArray bytes(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0) {
        bytes.prepend(static_cast<char>((value & 0x7F) | 0x80));
    }
    return bytes;
}

inline QByteArray chunk(const char* id, const QByteArray& body)
{
    return QByteArray(id, 4) + bigEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
}

inline QByteArray header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division)
{
    return chunk("MThd", bigEndian(format, 2) + bigEndian(tracks, 2) + bigEndian(division, 2));
}

inline QByteArray endOfTrack()
{
    return QByteArray::fromHex("00ff2f00");
}

// Track events: a piano on channel 0, then `notes` notes, each held for `ticksPerNote`.
inline QByteArray noteEvents(int notes, int ticksPerNote)
{
    QByteArray events = QByteArray::fromHex("00c000");
    for (int i = 0; i < notes; ++i) {
        const char pitch = static_cast<char>(60 + i % 12);
        // A delta time below 128 ticks is a single byte.
        const char on[] = {0, static_cast<char>(0x90), pitch, 100};
        const char off[] = {static_cast<char>(ticksPerNote), static_cast<char>(0x80), pitch, 64};
        events.append(on, sizeof on).append(off, sizeof off);
    }
    return events + endOfTrack();
}

// A format-1 file: an empty first track and one track of notes, 96 ticks per quarter note at the
// default tempo of 120 quarter notes a minute, so each note lasts 0.5 s.
inline QByteArray tune(int notes)
{
    return header(1, 2, 96) + chunk("MTrk", endOfTrack()) + chunk("MTrk", noteEvents(notes, 96));
}

// A format-0 file holding a chord of an organ, which sounds until released, for `seconds`.
inline QByteArray heldChord(int seconds)
{
    const QByteArray events = QByteArray::fromHex("00c013" "00903c64" "00904364") +
                              variableLength(static_cast<std::uint32_t>(seconds) * 2 * 96) +
                              QByteArray::fromHex("803c40" "00804340") + endOfTrack();
    return header(0, 1, 96) + chunk("MTrk", events);
}

}  // namespace tolvex::music::test
