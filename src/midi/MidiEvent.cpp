#include "midi/MidiEvent.h"

namespace chordella::midi {

TMyMidiHdr::TMyMidiHdr(std::uint16_t size) : size_(size) {
    if (size == 0) return;
    data_ = std::make_unique<std::uint8_t[]>(size);  // value-initialised: zero-filled
    header_ = std::make_unique<MidiHeader>();
    header_->Data = data_.get();
    header_->BufferLength = size;
    header_->User = this;
}

}  // namespace chordella::midi
