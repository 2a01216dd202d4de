#pragma once
// A live arranger on the in-memory devices for the remote control: a one-measure style, the
// second input on "Memory In 2" and the MIDI commands on "Memory Out 3".

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "RemoteRig.h"
#include "app/LiveArranger.h"
#include "cli/ArrangerCommand.h"
#include "core/Session.h"
#include "data/StyleModel.h"
#include "engine/Transport.h"
#include "remote/RemoteControl.h"
#include "support/StyleBuilder.h"

namespace chordella::testing {

inline constexpr int SecondInputDevice = 1;
inline constexpr int Mapper = -1;

// A live arranger with a one-measure style, its second input on "Memory In 2" and the MIDI
// commands on "Memory Out 3".
struct ArrangerRig {
    ArrangerRig() : arranger(*t.session, t.state) {
        StyleBuilder b;
        b.Meter(4).Tempo(120);
        auto& basic = b.Part(data::StylePart::Basic).Measures(1);
        for (int at = 0; at < 96; at += 12) basic.Note(0, 60, 100, at, 6);
        flags.style = t.home.Path() + "/Remote.vxs";
        flags.secondIn = "Memory In 2";
        flags.commandsOut = "Memory Out 3";
        EXPECT_TRUE(b.Write(flags.style));
    }
    ~ArrangerRig() {
        arranger.Stop();
        if (err) std::fclose(err);
    }
    bool Prepare() {
        return cli::PrepareArranger(*t.session, t.state, flags, err) &&
               cli::PrepareRemote(*t.session, t.state.options, Remote(), flags, err);
    }
    remote::RemoteControl& Remote() { return arranger.Remote(); }
    void Send(std::vector<std::uint8_t> bytes) {
        ASSERT_TRUE(t.midi->Feed(SecondInputDevice, 0, bytes));
        t.session->Loop().RunPending();
    }
    bool Playing() { return arranger.Transport().StyleStarted(); }

    TestSession t;
    app::LiveArranger arranger;
    cli::ArrangerFlags flags;
    std::FILE* err = std::tmpfile();
};

}  // namespace chordella::testing
