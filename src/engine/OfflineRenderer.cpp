#include "engine/OfflineRenderer.h"

#include <algorithm>

#include "core/Session.h"
#include "data/VoiceMap.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Outputs.h"
#include "midi/MidiStatus.h"
#include "midi/SynthRenderer.h"

namespace chordella::engine {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::ControlChange;
using midi::status::ProgramChange;
using midi::status::ChannelPressure;
constexpr int BankSelect = 0;
constexpr int BankSelectFine = 32;
// Microseconds per tick at 1 bpm: 60 000 000 / 24.
constexpr std::int64_t MicrosPerTickAtOneBpm = 2'500'000;

bool Sounds(const data::SmfChannelMessage& m) { return (m.Status & 0xF0) == NoteOn && m.Data2 > 0; }
bool Ends(const data::SmfChannelMessage& m) {
    return (m.Status & 0xF0) == NoteOff || ((m.Status & 0xF0) == NoteOn && m.Data2 == 0);
}

}  // namespace

void RenderRecorder::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    Messages.push_back({now_, status, data1, data2});
}

void RenderRecorder::PutShortMsg(std::uint32_t packed) {
    PutShort(static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>(packed >> 8 & 0x7F),
             static_cast<std::uint8_t>(packed >> 16 & 0x7F));
}

OfflineRenderer::OfflineRenderer(core::Session& session, AccompanimentEngine& engine, Clock& clock)
    : session_(session), engine_(engine), clock_(clock) {
    session_.SetAccompanimentOutput(&recorder_);
    session_.SetClockOutput(&recorder_);
    session_.SetChordCodeOutput(&recorder_);
}

OfflineRenderer::~OfflineRenderer() {
    if (clock_.State().ClockState != 0) clock_.ToggleClock();
    session_.SetAccompanimentOutput(nullptr);
    session_.SetClockOutput(nullptr);
    session_.SetChordCodeOutput(nullptr);
}

void OfflineRenderer::Start(int bpm, bool sendSetup) {
    clock_.StartVirtual(bpm);
    now_ = 0;
    tempos_.assign(1, data::SmfTempo{0, clock_.VirtualBpm()});
    markers_.clear();
    lastSection_ = -1;
    firstActive_ = -1;
    started_ = true;
    if (sendSetup) SendChannelSetup(session_.Style().style.Header, recorder_);
}

void SendChannelSetup(const data::StyleHeader& header, midi::MidiOut& out) {
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        const data::ChannelSetupRow& row = header.ChannelSetup[static_cast<std::size_t>(channel)];
        const auto send = [&](int status, int data1, int data2) {
            out.PutShort(static_cast<std::uint8_t>(status + channel), static_cast<std::uint8_t>(data1 & 0x7F),
                         static_cast<std::uint8_t>(data2 & 0x7F));
        };
        const auto set = [&](int index) { return row[static_cast<std::size_t>(index)] != data::SetupNotSet; };
        // The bank first, then the program it selects from, then the other controllers.
        for (const int bank : {BankSelect, BankSelectFine})
            if (set(bank)) send(ControlChange, bank, row[static_cast<std::size_t>(bank)]);
        if (set(data::SetupProgramIndex)) send(ProgramChange, row[data::SetupProgramIndex], 0);
        for (int controller = 1; controller < data::SetupProgramIndex; ++controller) {
            if (controller != BankSelectFine && set(controller))
                send(ControlChange, controller, row[static_cast<std::size_t>(controller)]);
        }
        if (set(data::SetupPressureIndex)) send(ChannelPressure, row[data::SetupPressureIndex], 0);
    }
}

void OfflineRenderer::Follow() {
    const StylePlayerState& player = session_.Style().player;
    if (firstActive_ < 0 && player.StyleActive != 0) firstActive_ = now_;
    if (player.StyleActive != 0 && player.CurrentSection != lastSection_) {
        lastSection_ = player.CurrentSection;
        markers_.push_back({now_, PartName(lastSection_)});
    }
}

void OfflineRenderer::Run(std::int64_t ticks) {
    for (std::int64_t i = 0; i < ticks; ++i) {
        // A tempo set since the last tick (inside it or between runs) times this one.
        const int bpm = clock_.VirtualBpm();
        if (bpm != tempos_.back().BeatsPerMinute) tempos_.push_back({now_, bpm});
        clock_.RunVirtualTicks(1);
        Follow();
        ++now_;
    }
}

std::int64_t OfflineRenderer::RunWhilePlaying(std::int64_t limit) {
    std::int64_t ran = 0;
    const auto playing = [this] {
        return clock_.State().ClockState != 0 &&
               (session_.Style().player.StyleActive != 0 || engine_.Transport().ChordMemoryBusy());
    };
    for (; ran < limit && playing(); ++ran) Run(1);
    return ran;
}

void OfflineRenderer::ReleaseSounding() {
    // Per channel and note: note-ons not yet ended.
    std::array<std::array<int, 128>, 16> sounding{};
    for (const data::SmfChannelMessage& m : recorder_.Messages) {
        int& count = sounding[m.Status & 0x0F][m.Data1 & 0x7F];
        if (Sounds(m)) ++count;
        if (Ends(m) && count > 0) --count;
    }
    for (int channel = 0; channel < 16; ++channel) {
        for (int note = 0; note < 128; ++note) {
            for (int count = sounding[channel][note]; count > 0; --count)
                recorder_.PutShort(static_cast<std::uint8_t>(NoteOff + channel), static_cast<std::uint8_t>(note), 0);
        }
    }
}

data::SmfContent OfflineRenderer::Finish(const std::string& name) {
    if (session_.Style().player.StyleActive != 0) engine_.Transport().StopTransport();
    ReleaseSounding();
    if (clock_.State().ClockState != 0) clock_.ToggleClock();

    data::SmfContent content;
    content.Name = name;
    content.Messages = recorder_.Messages;
    content.Tempos = tempos_;
    content.Markers = markers_;
    content.EndTick = now_;
    MoveToFirstBeat(content);
    const ClockState& clock = clock_.State();
    content.MeasureTicks = std::max(1, static_cast<int>(clock.MeasureUnits)) * 6;
    content.EighthMeter = clock.MeterKind == MeterKind::Eighth;
    const data::StyleHeader& header = session_.Style().style.Header;
    for (int channel = 0; channel < 16; ++channel) {
        const std::uint8_t program = header.ChannelSetup[static_cast<std::size_t>(channel)][data::SetupProgramIndex];
        content.Programs[static_cast<std::size_t>(channel)] = program == data::SetupNotSet ? -1 : program;
    }
    return content;
}

void OfflineRenderer::MoveToFirstBeat(data::SmfContent& content) const {
    // Ticks before the style started (a song's lead-in) are not music: the style's first
    // tick is time 0; what was sent before it (the set-up) moves to time 0.
    const std::int64_t shift = std::max<std::int64_t>(firstActive_, 0);
    if (shift == 0) return;
    const auto move = [shift](std::int64_t tick) { return std::max<std::int64_t>(tick - shift, 0); };
    for (data::SmfChannelMessage& m : content.Messages) m.Tick = move(m.Tick);
    for (data::SmfMarker& m : content.Markers) m.Tick = move(m.Tick);
    std::vector<data::SmfTempo> tempos;
    for (const data::SmfTempo& t : content.Tempos) {
        if (!tempos.empty() && move(t.Tick) == 0) tempos.clear();  // the last tempo before the start wins
        tempos.push_back({move(t.Tick), t.BeatsPerMinute});
    }
    content.Tempos = tempos;
    content.EndTick = move(content.EndTick);
}

std::string PartName(int part) {
    std::string_view text = data::PartSelectorText(part);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return std::string(text);
}

std::int64_t MicrosAt(const std::vector<data::SmfTempo>& tempos, std::int64_t tick) {
    std::int64_t micros = 0;
    std::int64_t from = 0;
    int bpm = tempos.empty() ? 120 : std::max(1, tempos.front().BeatsPerMinute);
    for (const data::SmfTempo& tempo : tempos) {
        if (tempo.Tick >= tick) break;
        if (tempo.Tick > from) {
            micros += (tempo.Tick - from) * MicrosPerTickAtOneBpm / bpm;
            from = tempo.Tick;
        }
        bpm = std::max(1, tempo.BeatsPerMinute);
    }
    return micros + (tick - from) * MicrosPerTickAtOneBpm / bpm;
}

bool RenderWav(const data::SmfContent& content, const std::string& path, std::string& error,
               std::int64_t tailMicros, const midi::AudioSettings& audio) {
    const std::int64_t end = MicrosAt(content.Tempos, content.EndTick) + std::max<std::int64_t>(tailMicros, 0);
    if (!midi::FitsInWav(end, midi::SynthRenderer::DefaultSampleRate, error)) return false;
    auto renderer = midi::SynthRenderer::Create(error, midi::SynthRenderer::DefaultSampleRate, audio);
    if (!renderer) return false;
    renderer->SetGeneralMidiVoices(data::BuiltInVoiceMap().ForGeneralMidi());
    midi::WavStream stream;
    if (!stream.Open(path, 2, renderer->SampleRate(), error)) return false;
    renderer->StreamTo(&stream);

    // The recording is in time order; a content from elsewhere is put in order by index,
    // equal ticks keeping their order.
    const auto& messages = content.Messages;
    std::vector<std::uint32_t> order;
    const auto earlier = [](const data::SmfChannelMessage& a, const data::SmfChannelMessage& b) { return a.Tick < b.Tick; };
    if (!std::is_sorted(messages.begin(), messages.end(), earlier)) {
        order.resize(messages.size());
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) { return earlier(messages[a], messages[b]); });
    }
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const data::SmfChannelMessage& m = messages[order.empty() ? i : order[i]];
        if (m.Status < 0x80 || m.Status > 0xEF) continue;
        const std::int64_t micros = MicrosAt(content.Tempos, std::max<std::int64_t>(m.Tick, 0));
        if (micros > end) break;
        renderer->RenderUntil(micros);
        const int kind = m.Status & 0xF0;
        const std::uint8_t bytes[3] = {m.Status, m.Data1, m.Data2};
        renderer->PutBytes(std::span(bytes, kind == ProgramChange || kind == ChannelPressure ? 2u : 3u));
    }
    renderer->RenderUntil(end);
    return stream.Finish(error);
}

}  // namespace chordella::engine
