#include "audition/StyleAudition.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/Session.h"
#include "core/StyleStore.h"
#include "app/AppState.h"
#include "app/Arranger.h"
#include "engine/Clock.h"
#include "engine/ClockTables.h"
#include "engine/Transport.h"
#include "midi/SynthRenderer.h"
#include "platform/RecordingPrompter.h"

namespace chordella::tools {

namespace {

// Hands every message to the listener with the virtual clock's tick and counts the notes started.
class ListeningOutput final : public midi::MidiOut {
public:
    ListeningOutput(const AuditionListener& listen, const std::int64_t& tick, double tickMicros)
        : listen_(listen), tick_(tick), tickMicros_(tickMicros) {}

    bool IsOpen() const override { return true; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        // The clock counts the tick it runs from 1: the intro's first tick is tick 0 here.
        const std::int64_t tick = tick_ - 1;
        listen_(AuditionMessage{tick, static_cast<std::int64_t>(static_cast<double>(tick) * tickMicros_), status, data1, data2});
        if ((status & 0xF0) == 0x90 && data2 > 0) ++started_;
    }
    void PutShortMsg(std::uint32_t packed) override {
        PutShort(static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                 static_cast<std::uint8_t>((packed >> 16) & 0xFF));
    }
    int Started() const { return started_; }

private:
    const AuditionListener& listen_;
    const std::int64_t& tick_;
    double tickMicros_;
    int started_ = 0;
};

// A session of its own: no MIDI devices, messages kept, data home in the temporary folder.
std::unique_ptr<core::Session> MakeSession(platform::RecordingPrompter*& prompter) {
    auto scripted = std::make_unique<platform::RecordingPrompter>();
    prompter = scripted.get();
    core::SessionParts parts;
    parts.prompter = std::move(scripted);
    parts.paths = platform::Paths::InFolder(std::filesystem::temp_directory_path().string());
    return std::make_unique<core::Session>(std::move(parts));
}

int KeyNote(const data::ControlKeys& keys, AuditionKey key) {
    switch (key) {
    case AuditionKey::FillIn: return keys.FillIn;
    case AuditionKey::ToExtended: return keys.ToExtended;
    case AuditionKey::ToBasic: return keys.ToBasic;
    case AuditionKey::Ending: return keys.Ending;
    case AuditionKey::None: break;
    }
    return 0;
}

void SubmitChord(core::Session& session, int root, int type) {
    session.Engine().SubmitChord({static_cast<std::int16_t>(root), static_cast<std::int16_t>(type)},
                                 {static_cast<std::int16_t>(root), static_cast<std::int16_t>(root + 4),
                                  static_cast<std::int16_t>(root + 7), 0});
}

}  // namespace

AuditionPlan DefaultAudition(int beatsPerMeasure) {
    using K = AuditionKey;
    const AuditionMeasure C{48, 1}, Am{57, 2}, F{53, 1}, G{55, 1}, Dm7{50, 4}, Em{52, 2}, G7{55, 3};
    const auto with = [](AuditionMeasure m, K key) { return m.Key = key, m; };
    AuditionPlan plan;
    if (beatsPerMeasure == 3) {
        plan.Measures = {C, G7,                                                                   // intro
                         C, C, F, with(C, K::FillIn), G7, G7, C, with(C, K::ToExtended),          // verse
                         F, F, C, with(Am, K::FillIn), Dm7, G7, C, with(C, K::ToBasic),           // chorus
                         C, F, G7, with(C, K::Ending)};
    } else {
        plan.Measures = {C, C,                                                                    // intro
                         C, Am, F, with(G, K::FillIn), C, Am, Dm7, with(G, K::ToExtended),       // verse
                         F, G, Em, Am, F, with(G7, K::FillIn), C, with(C, K::ToBasic),           // chorus
                         C, Am, F, G, with(C, K::Ending)};
    }
    return plan;
}

int StyleBeatsPerMeasure(const std::string& stylePath) {
    platform::RecordingPrompter* prompter = nullptr;
    auto session = MakeSession(prompter);
    data::StyleStore store(*session);
    if (store.Load(stylePath) != data::StyleLoadResult::Loaded) return 0;
    const int meter = session->Style().style.Header.StyleMeter;
    return (meter == 0 ? 16 : std::abs(meter)) / 4;
}

bool PerformAudition(const std::string& stylePath, const AuditionPlan& plan, const AuditionListener& listen,
                     AuditionReport& report, std::string& error) {
    platform::RecordingPrompter* prompter = nullptr;
    auto owned = MakeSession(prompter);
    core::Session& session = *owned;
    app::AppState state;
    app::Arranger arranger(session, state);
    engine::Clock& clock = arranger.Clock();
    engine::Transport& transport = arranger.Transport();
    state.options.PlayIntro = true;
    state.options.PlayEnding = true;

    data::StyleStore store(session);
    const bool loaded = store.Load(stylePath) == data::StyleLoadResult::Loaded;
    report.Messages = prompter->Shown();
    if (!loaded) {
        error = stylePath + ": the style could not be loaded" + (report.Messages.empty() ? "" : " (" + report.Messages.back() + ")");
        return false;
    }
    const auto& header = session.Style().style.Header;
    report.Tempo = header.StyleTempo;
    report.BeatsPerMeasure = (header.StyleMeter == 0 ? 16 : std::abs(header.StyleMeter)) / 4;
    const int measureTicks = report.BeatsPerMeasure * 24;
    // Control keys act from the start of the next measure.
    clock.SelectQuantize(engine::QuantizeIndexOf(report.BeatsPerMeasure == 3 ? "3/4" : "4/4"));

    report.TickMicros = 60'000'000.0 / (24.0 * report.Tempo);
    const std::int64_t& tickCount = state.clock.TickCount;
    ListeningOutput out(listen, tickCount, report.TickMicros);
    session.SetAccompanimentOutput(&out);
    clock.SetupClock();
    clock.StartVirtual(report.Tempo);
    const auto& player = session.Style().player;
    const auto notePart = [&] {
        if (report.PartsPlayed.empty() || report.PartsPlayed.back() != player.CurrentSection)
            report.PartsPlayed.push_back(player.CurrentSection);
    };
    bool started = false;
    for (const AuditionMeasure& measure : plan.Measures) {
        state.engine.PendingCommandKey = static_cast<std::int16_t>(KeyNote(state.config.Keys, measure.Key));
        SubmitChord(session, measure.Root, measure.Type);
        if (!started) {
            transport.StartStyle();
            started = true;
        }
        for (int tick = 0; tick < measureTicks; ++tick) {
            clock.RunVirtualTicks(1);
            if (player.StyleActive != 0) notePart();
            if (tick == measureTicks / 2) report.MeasureParts.push_back(player.CurrentSection);
        }
        ++report.Measures;
        if (player.StyleActive == 0) break;
    }
    for (int extra = 0; extra < plan.MeasuresToEnd && player.StyleActive != 0; ++extra) {
        for (int tick = 0; tick < measureTicks && player.StyleActive != 0; ++tick) {
            clock.RunVirtualTicks(1);
            if (player.StyleActive != 0) notePart();
            if (tick == measureTicks / 2) report.MeasureParts.push_back(player.CurrentSection);
        }
        ++report.Measures;
    }
    report.EndedByItself = player.StyleActive == 0;
    transport.Stop();
    report.Ticks = tickCount - 1;
    report.NotesStarted = out.Started();
    report.Seconds = static_cast<double>(report.Ticks) * report.TickMicros / 1e6 + plan.TailSeconds;
    session.SetAccompanimentOutput(nullptr);
    return true;
}

bool RenderAudition(const std::string& stylePath, const AuditionPlan& plan, midi::SynthRenderer& renderer,
                    AuditionReport& report, std::string& error) {
    const AuditionListener send = [&](const AuditionMessage& m) {
        renderer.RenderUntil(m.Micros);
        renderer.PutShort(m.Status, m.Data1, m.Data2);
    };
    if (!PerformAudition(stylePath, plan, send, report, error)) return false;
    renderer.RenderUntil(static_cast<std::int64_t>(static_cast<double>(report.Ticks) * report.TickMicros + plan.TailSeconds * 1e6));
    report.Seconds = static_cast<double>(renderer.RenderedMicros()) / 1e6;
    return true;
}

double RootMeanSquare(const std::vector<std::int16_t>& samples) {
    if (samples.empty()) return 0;
    double sum = 0;
    for (std::int16_t s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size())) / 32768.0;
}

}  // namespace chordella::tools
