#pragma once
// A session with in-memory parts: a scripted prompter, a data home in a temporary folder,
// a fixed random seed. One line in a test: `testing::TestSession t;` then `t.session`.

#include <memory>

#include "app/Session.h"
#include "platform/ScriptedPrompter.h"
#include "support/TempFolder.h"

namespace chordella::testing {

struct TestSession {
    explicit TestSession(std::uint64_t seed = 1) {
        auto scripted = std::make_unique<platform::ScriptedPrompter>();
        prompter = scripted.get();
        app::SessionParts parts;
        parts.prompter = std::move(scripted);
        parts.paths = platform::Paths::InFolder(home.Path());
        parts.seed = seed;
        session = std::make_unique<app::Session>(std::move(parts));
    }

    TempFolder home;
    platform::ScriptedPrompter* prompter = nullptr;
    std::unique_ptr<app::Session> session;
};

}  // namespace chordella::testing
