#pragma once
// Small helpers of the engine for sending on an output that may be missing or closed,
// and for reaching the loaded style. Control thread.

#include <cstdint>

#include "core/Session.h"
#include "data/StyleState.h"
#include "midi/MidiOut.h"

namespace chordella::engine {

inline bool IsOpen(const midi::MidiOut* out) noexcept { return out != nullptr && out->IsOpen(); }

// Sends when the output exists and is open; data bytes are kept to 7 bits.
inline void Send(midi::MidiOut* out, int status, int data1, int data2) noexcept {
    if (!IsOpen(out)) return;
    out->PutShort(static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1 & 0x7F),
                  static_cast<std::uint8_t>(data2 & 0x7F));
}

inline const data::StyleState& LoadedStyle(core::Session& session) noexcept { return session.Style().style; }

}  // namespace chordella::engine
