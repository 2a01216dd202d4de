#include "audition/StyleAudition.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/Session.h"
#include "data/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "midi/SynthRenderer.h"
#include "platform/ScriptedPrompter.h"

namespace chordella::tools {

namespace {

// Sends to the renderer at the virtual clock's time and keeps account of sounding notes.
class TimedOutput final : public midi::MidiOut {
public:
    TimedOutput(midi::SynthRenderer& renderer, const std::int64_t& tick) : renderer_(renderer), tick_(tick) {}

    void SetTempo(int bpm) {
        base_ = Now();
        baseTick_ = tick_;
        period_ = 60'000'000.0 / (24.0 * bpm);
    }
    std::int64_t Now() const { return base_ + static_cast<std::int64_t>(static_cast<double>(tick_ - baseTick_) * period_); }

    bool IsOpen() const override { return true; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        renderer_.RenderUntil(Now());
        renderer_.PutShort(status, data1, data2);
        Track(status, data1, data2);
    }
    void PutShortMsg(std::uint32_t packed) override {
        PutShort(static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                 static_cast<std::uint8_t>((packed >> 16) & 0xFF));
    }
    int Sounding() const {
        int count = 0;
        for (const auto& channel : sounding_)
            for (int n : channel) count += n > 0 ? 1 : 0;
        return count;
    }
    int Started() const { return started_; }

private:
    void Track(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        const int kind = status & 0xF0;
        auto& channel = sounding_[static_cast<std::size_t>(status & 0x0F)];
        if (kind == 0x90 && data2 > 0) {
            ++channel[data1 & 0x7F];
            ++started_;
        } else if ((kind == 0x80 || kind == 0x90) && channel[data1 & 0x7F] > 0) {
            --channel[data1 & 0x7F];
        } else if (kind == 0xB0 && (data1 == 120 || data1 == 123)) {
            channel.fill(0);
        }
    }

    midi::SynthRenderer& renderer_;
    const std::int64_t& tick_;
    std::int64_t base_ = 0;
    std::int64_t baseTick_ = 0;
    double period_ = 0;
    std::array<std::array<int, 128>, 16> sounding_{};
    int started_ = 0;
};

AuditionChord Chord(int pitchClass, int type) { return {48 + pitchClass, type}; }

}  // namespace

AuditionPlan DefaultAudition(int beatsPerMeasure) {
    const AuditionChord C = Chord(0, 1), Am = Chord(9, 2), F = Chord(5, 1), G = Chord(7, 1), Dm7 = Chord(2, 4),
                        Em = Chord(4, 2), G7 = Chord(7, 3);
    AuditionPlan plan;
    if (beatsPerMeasure == 3) {
        plan.Sections = {{0, {C, G7}},   {1, {C, C, F, C, G7, G7, C, C}}, {4, {C}}, {6, {C}},
                         {2, {F, F, C, Am, Dm7, G7, C, C}}, {5, {C}}, {7, {C}}, {1, {C, F, G7, C}}, {3, {C, C}}};
    } else {
        plan.Sections = {{0, {C, C}},   {1, {C, Am, F, G, C, Am, Dm7, G}}, {4, {G}}, {6, {G}},
                         {2, {F, G, Em, Am, F, G, C, C}}, {5, {G7}}, {7, {C}}, {1, {C, Am, F, G}}, {3, {C, C}}};
    }
    return plan;
}

bool RenderAudition(const std::string& stylePath, const AuditionPlan& plan, midi::SynthRenderer& renderer,
                    AuditionReport& report, std::string& error) {
    auto prompter = std::make_unique<platform::ScriptedPrompter>();
    const platform::ScriptedPrompter& shown = *prompter;
    app::SessionParts parts;
    parts.prompter = std::move(prompter);
    parts.paths = platform::Paths::InFolder(std::filesystem::temp_directory_path().string());
    app::Session session(std::move(parts));
    engine::AccompanimentEngine accompaniment(session);
    engine::Clock clock(session, accompaniment);
    TimedOutput out(renderer, session.App().clock.TickCount);
    session.SetAccompanimentOutput(&out);
    clock.SetupClock();

    data::StyleStore store(session);
    const bool loaded = store.Load(stylePath) == data::StyleLoadResult::Loaded;
    report.Messages = shown.Shown();
    if (!loaded) {
        error = stylePath + ": the style could not be loaded" + (report.Messages.empty() ? "" : " (" + report.Messages.back() + ")");
        return false;
    }
    const auto& style = session.Style().style;
    report.Tempo = style.Header.StyleTempo;
    report.BeatsPerMeasure = (style.Header.StyleMeter == 0 ? 16 : std::abs(style.Header.StyleMeter)) / 4;
    const int measureTicks = report.BeatsPerMeasure * 24;
    clock.StartVirtual(report.Tempo);
    out.SetTempo(report.Tempo);

    for (const AuditionSection& section : plan.Sections) {
        if (!accompaniment.Sections().PlayPart(section.Part)) {
            error = stylePath + ": part " + std::to_string(section.Part) + " is missing";
            return false;
        }
        for (const AuditionChord& chord : section.Chords) {
            auto& chords = session.App().chords;
            chords.PendingRoot = static_cast<std::int16_t>(chord.Root);
            chords.PendingType = static_cast<std::int16_t>(chord.Type);
            const std::array<std::int16_t, 4> notes{static_cast<std::int16_t>(chord.Root),
                                                    static_cast<std::int16_t>(chord.Root + 4),
                                                    static_cast<std::int16_t>(chord.Root + 7), 0};
            session.Engine().SubmitChord(notes);
            clock.RunVirtualTicks(measureTicks);
            ++report.Measures;
        }
        report.NotesHeldOverSectionEnd += out.Sounding();
    }
    accompaniment.Transport().StopTransport();
    renderer.RenderUntil(out.Now() + static_cast<std::int64_t>(plan.TailSeconds * 1e6));
    report.NotesStarted = out.Started();
    report.Seconds = static_cast<double>(renderer.RenderedMicros()) / 1e6;
    session.SetAccompanimentOutput(nullptr);
    return true;
}

double RootMeanSquare(const std::vector<std::int16_t>& samples) {
    if (samples.empty()) return 0;
    double sum = 0;
    for (std::int16_t s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size())) / 32768.0;
}

}  // namespace chordella::tools
