// The remote control's readers: command files ("MIDICommands.ccs"), the learned bindings
// file and instrument-set texts take whatever the files and settings hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "remote/CommandFile.h"
#include "remote/InstrumentKeys.h"
#include "remote/RemoteBindings.h"

namespace remote = chordella::remote;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto table = remote::ParseCommandFile(text)) {
        for (const remote::MidiCommand& c : table->Commands) {
            if (c.Type < 0 || c.Type > 10 || c.Channel < 0 || c.Channel > 15 || c.Value < 0 || c.Value > 127 ||
                c.Data < 0 || c.Data > 999)
                __builtin_trap();
        }
        if (remote::ParseTableText(remote::TableText(*table)) != table) __builtin_trap();
    }
    if (const auto bindings = remote::RemoteBindings::Parse(text)) {
        const auto again = remote::RemoteBindings::Parse(bindings->Text());
        if (!again || again->List() != bindings->List()) __builtin_trap();
    }
    remote::InstrumentKeyTable keys;
    keys.SetListEntries(static_cast<int>(size % 300));
    if (keys.LoadFunctionSet(text)) {
        for (int k = 0; k < remote::InstrumentKeyCount; ++k) {
            const int code = keys.Record(k).Code;
            if (code < 0 || code > 999) __builtin_trap();
        }
    }
    return 0;
}
