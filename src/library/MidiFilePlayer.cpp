#include "library/MidiFilePlayer.h"

#include <algorithm>
#include <chrono>

#include "data/SmfFile.h"
#include "midi/MidiOutput.h"
#include "platform/Clock.h"
#include "platform/Files.h"

namespace chordella::library {

namespace {

// A backing track is larger than what the style creator imports; this still reads in a blink.
constexpr std::size_t MaxPlayedFileSize = 4 * 1024 * 1024;
constexpr std::uint8_t SetTempo = 0x51;
constexpr std::int64_t DefaultMicrosPerQuarter = 500'000;  // 120 bpm until the file says
constexpr std::uint32_t AllNotesOff = 123;
constexpr std::uint32_t SustainPedal = 64;
// Far beyond any song, and small enough that a time in microseconds cannot overflow.
constexpr std::uint64_t MaxTicks = std::uint64_t{1} << 36;

struct TickedMessage {
    std::uint64_t Tick = 0;
    std::uint32_t Packed = 0;
    std::int64_t MicrosPerQuarter = -1;  // a tempo change; −1 for a channel message
};

bool ReadTrack(std::span<const std::uint8_t> data, std::vector<TickedMessage>& out, std::string& error) {
    data::SmfTrackReader reader(data);
    std::uint64_t tick = 0;
    for (;;) {
        std::uint32_t delta = 0;
        data::SmfEvent event;
        data::SmfRead read = reader.ReadDelta(delta);
        if (read == data::SmfRead::Ok) read = reader.ReadEvent(event);
        if (read == data::SmfRead::End) return true;
        if (read == data::SmfRead::UnknownCode) {
            error = "Error - Unknown Code ! (at track offset " + std::to_string(reader.Position()) + ")";
            return false;
        }
        if (read == data::SmfRead::Damaged) {
            error = "The MIDI file is damaged: " + reader.Problem();
            return false;
        }
        tick += delta;
        if (event.Type == data::SmfEvent::Kind::Channel) {
            out.push_back({tick, event.Status | std::uint32_t{event.Data1} << 8 | std::uint32_t{event.Data2} << 16});
        } else if (event.Type == data::SmfEvent::Kind::Meta && event.MetaType == SetTempo && event.Payload.size() >= 3) {
            const std::int64_t micros = event.Payload[0] << 16 | event.Payload[1] << 8 | event.Payload[2];
            if (micros > 0) out.push_back({tick, 0, micros});
        }
    }
}

}  // namespace

bool ReadTimedMidiFile(const std::string& path, std::vector<TimedMidiMessage>& messages, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadFileBytes(path, MaxPlayedFileSize, bytes, error)) {
        error = "Cannot read " + path + ": " + error + " !";
        return false;
    }
    return ReadTimedMidi(bytes, messages, error);
}

bool ReadTimedMidi(std::span<const std::uint8_t> bytes, std::vector<TimedMidiMessage>& messages, std::string& error) {
    data::SmfLayout layout;
    const data::SmfLayoutError layoutError = data::ReadSmfLayout(bytes, layout);
    if (layoutError == data::SmfLayoutError::NotSmf || layoutError == data::SmfLayoutError::TimeCode) {
        error = data::SmfLayoutMessage(layoutError, layout.Division);
        return false;
    }
    if (layout.Division <= 0) {
        error = data::SmfLayoutMessage(data::SmfLayoutError::TimeBaseTooSmall, layout.Division);
        return false;
    }
    std::vector<TickedMessage> ticked;
    for (const data::SmfTrackChunk& track : layout.Tracks)
        if (!ReadTrack(track.Data, ticked, error)) return false;
    // Tracks merged in time order; at one tick, the earlier track first.
    std::stable_sort(ticked.begin(), ticked.end(), [](const auto& a, const auto& b) { return a.Tick < b.Tick; });

    messages.clear();
    std::int64_t microsPerQuarter = DefaultMicrosPerQuarter;
    std::uint64_t tempoTick = 0;
    std::int64_t tempoMicros = 0;
    const auto microsAt = [&](std::uint64_t tick) {
        return tempoMicros + static_cast<std::int64_t>(tick - tempoTick) * microsPerQuarter / layout.Division;
    };
    if (!ticked.empty() && ticked.back().Tick > MaxTicks) {
        error = "The MIDI file is too long to play !";
        return false;
    }
    for (const TickedMessage& m : ticked) {
        if (m.MicrosPerQuarter < 0) {
            messages.push_back({microsAt(m.Tick), m.Packed});
            continue;
        }
        tempoMicros = microsAt(m.Tick);
        tempoTick = m.Tick;
        microsPerQuarter = m.MicrosPerQuarter;
    }
    return true;
}

MidiFilePlayer::MidiFilePlayer(platform::EventLoop& loop, midi::MidiBackend& backend)
    : loop_(loop), backend_(backend) {}

MidiFilePlayer::~MidiFilePlayer() { Stop(); }

bool MidiFilePlayer::Play(const std::string& path, const std::string& port, std::int64_t nowMicros,
                          std::string& error) {
    Stop();
    std::vector<TimedMidiMessage> messages;
    if (!ReadTimedMidiFile(path, messages, error)) return false;
    auto output = std::make_unique<midi::TMidiOutput>(backend_, loop_);
    const std::string cannotOpen = "Can't open " + (port.empty() ? std::string("the built-in synth") : port) +
                                   ", please check MIDI config.";
    try {
        if (port.empty()) output->SetDeviceID(-1);
        else output->SetProductName(port);
    } catch (const std::exception&) {
        error = cannotOpen;
        return false;
    }
    if (!output->Open()) {
        error = cannotOpen;
        return false;
    }
    messages_ = std::move(messages);
    next_ = 0;
    startMicros_ = nowMicros;
    output_ = std::move(output);
    timer_ = loop_.StartTimer(std::chrono::milliseconds(1), true, [this] { Poll(platform::NowMicros()); });
    Poll(nowMicros);
    return true;
}

void MidiFilePlayer::Poll(std::int64_t nowMicros) {
    if (!output_) return;
    const std::int64_t into = nowMicros - startMicros_;
    while (next_ < messages_.size() && messages_[next_].Micros <= into) output_->PutShortMsg(messages_[next_++].Packed);
    if (next_ >= messages_.size()) Finish();
}

void MidiFilePlayer::Stop() {
    if (output_) Finish();
}

void MidiFilePlayer::Finish() {
    if (timer_ != 0) loop_.StopTimer(timer_);
    timer_ = 0;
    for (std::uint32_t channel = 0; channel < 16; ++channel) {
        output_->PutShortMsg(0xB0 | channel | SustainPedal << 8);
        output_->PutShortMsg(0xB0 | channel | AllNotesOff << 8);
    }
    try {
        output_->Close();
    } catch (const std::exception&) {
        // The port goes away regardless.
    }
    output_.reset();
    messages_.clear();
}

}  // namespace chordella::library
