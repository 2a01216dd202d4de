#include "midi/ChordCB.h"

#include "platform/Clock.h"

namespace chordella::midi {

void CallbackSettings::SetClockRouting(const ClockWindow* window, int mode) {
    const bool usable = window && window->Loop;
    if (usable) clock_ = *window;
    clockRouting_.store(usable || mode == 1 ? mode : 0, std::memory_order_release);
}

namespace {

// Timing clock and active sensing: answers true when the byte is dealt with here.
bool RealTimeHandled(std::uint8_t status, const CallbackSettings* settings) noexcept {
    if (status == 0xF8) {
        const int routing = settings ? settings->ClockRouting() : 0;
        if (routing == 1) return false;
        if (routing == 2 || routing == 3) {
            const ClockWindow& clock = settings->Clock();
            clock.Loop->Raise(routing == 2 ? clock.One : clock.Zero);
        }
        return true;
    }
    if (status == 0xFE) return !(settings && settings->PassActiveSensing());
    return false;
}

}  // namespace

void MidiCallback(DriverMessage kind, void* instance, std::uintptr_t param1, std::uint32_t param2) noexcept {
    auto* info = static_cast<MidiCtlInfo*>(instance);
    if (!info) return;
    if (kind == DriverMessage::OutputDone) {
        if (info->Window) info->Window->PostOther();
        return;
    }
    if (kind == DriverMessage::Lost) {
        if (info->Ring) info->Ring->CountLost(static_cast<std::uint32_t>(param1));
        if (info->Window) info->Window->PostOther();
        return;
    }
    if (kind == DriverMessage::EventTime) {
        info->NextMicros = static_cast<std::int64_t>(param1);
        return;
    }
    MidiBufferItem item;
    item.Timestamp = param2;
    item.Micros = info->NextMicros != 0 ? info->NextMicros : platform::NowMicros();
    info->NextMicros = 0;
    if (kind == DriverMessage::Data) {
        const auto status = static_cast<std::uint8_t>(param1 & 0xFF);
        if (RealTimeHandled(status, info->Settings)) return;
        if (info->SysexOnly.load(std::memory_order_relaxed)) return;
        if (!info->Ring) return;
        if (info->Settings && info->Settings->SuppressRepeats() && status >= 0xB0 && status <= 0xDF) {
            const int data1 = static_cast<int>((param1 >> 8) & 0xFF);
            const int data2 = static_cast<int>((param1 >> 16) & 0xFF);
            if (!ControllerChanged(info->Settings->Controllers(), status & 0xF0, status & 0x0F, data1, data2, false))
                return;
        }
        item.Data = static_cast<std::uint32_t>(param1);
    } else {
        if (!info->Ring) return;
        item.Sysex = reinterpret_cast<MidiHeader*>(param1);
    }
    const bool queued = info->Ring->Put(item);
    if (!queued && item.Sysex) item.Sysex->Flags.fetch_or(HeaderDropped);
    if (!info->Window) return;
    if (queued)
        info->Window->PostData();
    else
        info->Window->PostOther();
}

}  // namespace chordella::midi
