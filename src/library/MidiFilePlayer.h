#pragma once
// The song player's media player: a Standard MIDI File played as it is on a MIDI output,
// for the .mid files of a songlist when "Use MCI" is ticked. The file's channel messages and
// tempo changes are read once into messages with their times; a timer of the control loop
// sends what is due every millisecond. Stopping, or the end of the file, sends every
// channel's all-notes-off and closes the port, so nothing is left sounding.
//
//   library::MidiFilePlayer media(session.Loop(), session.MidiBackend());
//   if (!media.Play("SONGS/tune.mid", "", error)) ...   // "": the built-in synth
//   media.Playing();                                    // until the last message went out
//
// Control thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/EventLoop.h"

namespace chordella::midi {
class MidiBackend;
class TMidiOutput;
}  // namespace chordella::midi

namespace chordella::library {

struct TimedMidiMessage {
    std::int64_t Micros = 0;    // from the start of the file
    std::uint32_t Packed = 0;   // status | data1 << 8 | data2 << 16
};

// Reads a Standard MIDI File's channel messages in time order (tracks merged, equal times
// in track order) with its tempo changes applied. False with `error` set to the program's
// message for a file that is missing, too large, not a MIDI file or damaged.
bool ReadTimedMidiFile(const std::string& path, std::vector<TimedMidiMessage>& messages, std::string& error);
// The same for a file's bytes already in memory.
bool ReadTimedMidi(std::span<const std::uint8_t> file, std::vector<TimedMidiMessage>& messages, std::string& error);

class MidiFilePlayer {
public:
    MidiFilePlayer(platform::EventLoop& loop, midi::MidiBackend& backend);
    ~MidiFilePlayer();
    MidiFilePlayer(const MidiFilePlayer&) = delete;
    MidiFilePlayer& operator=(const MidiFilePlayer&) = delete;

    // Stops what plays, reads the file, opens the output `port` (by name; empty: the built-in
    // synth) and starts at `nowMicros`. False with `error` set; nothing plays then.
    bool Play(const std::string& path, const std::string& port, std::int64_t nowMicros, std::string& error);
    // Sends what is due at `nowMicros`; after the last message the player ends by itself.
    void Poll(std::int64_t nowMicros);
    void Stop();
    bool Playing() const { return output_ != nullptr; }

private:
    void Finish();

    platform::EventLoop& loop_;
    midi::MidiBackend& backend_;
    std::vector<TimedMidiMessage> messages_;
    std::size_t next_ = 0;
    std::int64_t startMicros_ = 0;
    std::unique_ptr<midi::TMidiOutput> output_;
    platform::EventLoop::TimerId timer_ = 0;  // 0: none
};

}  // namespace chordella::library
