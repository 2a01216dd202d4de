#pragma once
// A session wired with a chord recogniser, an engine that records what it is handed and a
// view that records what it is asked to show.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/ChordState.h"
#include "core/Options.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"
#include "support/StandInLinks.h"

namespace chordella::chords::testing {

// Keeps the pending chord as the engine does until a test applies it (DropPendingChord).
struct RecordingEngine final : chordella::testing::StandInEngine {
    void SubmitChord(core::ChordPair chord, const std::array<std::int16_t, 4>& notes) override {
        Pending = chord;
        Submitted.push_back(notes);
    }
    core::ChordPair PendingChord() const override { return Pending; }
    void DropPendingChord() override { Pending = {}; }
    void StartStyleForChord() override { ++StyleStartRequests; }
    bool ChordPreviewPastFirstMeasure() const override { return PreviewPastFirstMeasure; }
    bool PlaysImportedMaterial() const override { return ImportedMaterial; }

    core::ChordPair Pending;
    std::vector<std::array<std::int16_t, 4>> Submitted;
    int StyleStartRequests = 0;
    bool PreviewPastFirstMeasure = false;
    bool ImportedMaterial = false;
};

struct RecordingView final : core::View {
    void ShowChord(std::string_view title, std::string_view name, bool inPanels) override {
        Title = title;
        if (inPanels) PanelName = name;
    }
    void ShowKey(std::string_view text) override { Key = text; }
    void ReleaseChordTypePad() override { ++PadsReleased; }
    void ShowMelodyAdLib(bool on) override { AdLibShown.push_back(on); }

    std::string Title, PanelName, Key;
    int PadsReleased = 0;
    std::vector<bool> AdLibShown;
};

struct ChordFixture {
    ChordFixture() {
        auto recordingView = std::make_unique<RecordingView>();
        view = recordingView.get();
        core::SessionParts parts;
        parts.prompter = std::make_unique<chordella::testing::ScriptedPrompter>();
        parts.view = std::move(recordingView);
        parts.paths = platform::Paths::InFolder(home.Path());
        session = std::make_unique<core::Session>(std::move(parts));
        links.Wire(*session);
        session->SetEngineLink(&engine);
        recogniser = std::make_unique<ChordRecogniser>(*session, chords, options, engine);
        session->SetChordLink(recogniser.get());
    }
    ~ChordFixture() { session->SetEngineLink(nullptr); }

    ChordState& Chords() { return chords; }
    core::Options& Options() { return options; }
    HeldNoteList& Held() { return session->Style().heldNotes; }
    // The chord the engine holds pending, as (root, type).
    std::pair<int, int> Pending() { return {engine.Pending.Root, engine.Pending.Type}; }

    ::chordella::testing::TempFolder home;
    RecordingEngine engine;
    ::chordella::testing::StandInLinks links;
    RecordingView* view = nullptr;
    std::unique_ptr<core::Session> session;
    ChordState chords;  // what the recogniser owns
    core::Options options;
    std::unique_ptr<ChordRecogniser> recogniser;
};

}  // namespace chordella::chords::testing
