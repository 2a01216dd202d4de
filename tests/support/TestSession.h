#pragma once
// A session with in-memory parts: a scripted prompter, a data home in a temporary folder,
// a fixed random seed, and in-memory MIDI devices ("Memory In 1", "Memory In 2",
// "Memory Out 1" … "Memory Out 3"; output -1 is "Memory Synth") that `t.midi` feeds and reads,
// stand-ins on the session's links (`t.links`), and the program's state next to it
// (`t.state`), as the window or a command keeps it. One line
// in a test: `testing::TestSession t;` then `t.session` and `t.state`.

#include <chrono>
#include <functional>
#include <memory>

#include "app/AppState.h"
#include "core/Session.h"
#include "midi/MemoryBackend.h"
#include "support/ScriptedPrompter.h"
#include "support/StandInLinks.h"
#include "support/TempFolder.h"

namespace chordella::testing {

struct TestSession {
    // `view`: what the core shows goes there (none: a view that shows nothing). `ownPrompter`
    // replaces the scripted prompter (`prompter` is then null).
    explicit TestSession(std::uint64_t seed = 1, std::unique_ptr<core::View> view = nullptr,
                         std::unique_ptr<platform::Prompter> ownPrompter = nullptr) {
        core::SessionParts parts;
        if (ownPrompter) {
            parts.prompter = std::move(ownPrompter);
        } else {
            auto scripted = std::make_unique<chordella::testing::ScriptedPrompter>();
            prompter = scripted.get();
            parts.prompter = std::move(scripted);
        }
        parts.paths = platform::Paths::InFolder(home.Path());
        parts.seed = seed;
        parts.view = std::move(view);
        auto backend = std::make_unique<midi::MemoryBackend>();
        midi = backend.get();
        midi->AddInput("Memory In 1");
        midi->AddInput("Memory In 2");
        for (const char* name : {"Memory Out 1", "Memory Out 2", "Memory Out 3"}) midi->AddOutput(name);
        parts.midiBackend = std::move(backend);
        session = std::make_unique<core::Session>(std::move(parts));
        links.Wire(*session);
    }

    // Runs the control loop (a real tick timer plays meanwhile) until `done`, or a minute
    // has passed; answers `done`.
    bool RunUntil(const std::function<bool()>& done) {
        platform::EventLoop& loop = session->Loop();
        const auto poll = loop.StartTimer(std::chrono::milliseconds(10), true, [&] {
            if (done()) loop.Quit();
        });
        const auto giveUp = loop.StartTimer(std::chrono::seconds(60), false, [&] { loop.Quit(); });
        loop.Run();
        loop.StopTimer(poll);
        loop.StopTimer(giveUp);
        return done();
    }

    TempFolder home;
    // What a test that builds one module finds on the other ends of the session's links;
    // a rig that builds the real module wires it instead.
    StandInLinks links;
    chordella::testing::ScriptedPrompter* prompter = nullptr;
    midi::MemoryBackend* midi = nullptr;
    std::unique_ptr<core::Session> session;
    app::AppState state;
};

}  // namespace chordella::testing
