#include "midi/StreamInput.h"

#include <thread>

namespace chordella::midi {

StreamInput::~StreamInput() { Reset(); }

int StreamInput::Start() {
    started_.store(true);
    return result::NoError;
}

int StreamInput::Reset() {
    started_.store(false);
    while (busy_.load()) std::this_thread::yield();
    // No Deliver runs now and none will touch the buffers until the next Start.
    if (sysex_) GiveBack(sysex_);
    sysex_ = nullptr;
    inSysex_ = false;
    status_ = 0;
    have_ = need_ = 0;
    for (MidiHeader* header = ready_; header;) {
        MidiHeader* next = header->Next;
        GiveBack(header);
        header = next;
    }
    ready_ = nullptr;
    for (MidiHeader* header = added_.exchange(nullptr); header;) {
        MidiHeader* next = header->Next;
        GiveBack(header);
        header = next;
    }
    queued_.store(0);
    return result::NoError;
}

void StreamInput::GiveBack(MidiHeader* header) noexcept {
    header->Next = nullptr;
    header->BytesRecorded.store(0);
    header->Flags.fetch_and(~HeaderInQueue);
    header->Flags.fetch_or(HeaderDone);
}

int StreamInput::AddBuffer(MidiHeader& header) {
    const std::uint32_t flags = header.Flags.load();
    if (!(flags & HeaderPrepared)) return result::Unprepared;
    if (flags & HeaderInQueue) return result::StillPlaying;
    header.BytesRecorded.store(0);
    header.Flags.store((flags | HeaderInQueue) & ~HeaderDone);
    queued_.fetch_add(1);
    MidiHeader* head = added_.load();
    do {
        header.Next = head;
    } while (!added_.compare_exchange_weak(head, &header));
    return result::NoError;
}

int StreamInput::CheckClose() const { return queued_.load() > 0 ? result::StillPlaying : result::NoError; }

void StreamInput::Deliver(const std::uint8_t* bytes, std::size_t count, std::uint32_t millis) noexcept {
    busy_.store(true);
    if (started_.load()) {
        for (std::size_t i = 0; i < count; ++i) Byte(bytes[i], millis);
        EndOfEvent(millis);
    }
    busy_.store(false);
}

void StreamInput::EndOfEvent(std::uint32_t millis) noexcept {
    if (inSysex_) EndSysex(DriverMessage::LongError, millis);
    status_ = 0;
    have_ = need_ = 0;
}

void StreamInput::Emit(std::uint32_t packed, std::uint32_t millis) noexcept {
    callback_(DriverMessage::Data, instance_, packed, millis);
}

void StreamInput::Byte(std::uint8_t byte, std::uint32_t millis) noexcept {
    if (byte >= 0xF8) {  // real-time: anywhere, even inside system exclusive
        if (byte != 0xF9 && byte != 0xFD) Emit(byte, millis);
        return;
    }
    if (inSysex_) {
        if (byte < 0x80) return SysexByte(byte, millis);
        if (byte == 0xF7) {
            SysexByte(byte, millis);
            return EndSysex(DriverMessage::LongData, millis);
        }
        EndSysex(DriverMessage::LongError, millis);  // cut short by another status
    }
    if (byte == 0xF0) {
        status_ = 0;
        return BeginSysex();
    }
    if (byte >= 0x80) {
        status_ = 0;
        have_ = 0;
        const int length = ShortMessageLength(byte);
        if (length == 0) return;  // 0xF4, 0xF5, a stray 0xF7
        if (length == 1) return Emit(byte, millis);
        status_ = byte;
        need_ = length - 1;
        return;
    }
    if (status_ == 0) return;  // a data byte without a status
    data_[have_++] = byte;
    if (have_ < need_) return;
    Emit(status_ | std::uint32_t{data_[0]} << 8 | (need_ == 2 ? std::uint32_t{data_[1]} << 16 : 0u), millis);
    have_ = 0;
    if (status_ >= 0xF0) status_ = 0;  // system common messages have no running status
}

void StreamInput::BeginSysex() noexcept {
    inSysex_ = true;
    sysex_ = TakeBuffer();
    if (sysex_) {
        sysex_->Data[0] = 0xF0;
        sysex_->BytesRecorded.store(1, std::memory_order_relaxed);
    }
}

void StreamInput::SysexByte(std::uint8_t byte, std::uint32_t millis) noexcept {
    if (!sysex_) return;  // no buffer: the message is lost
    std::uint32_t used = sysex_->BytesRecorded.load(std::memory_order_relaxed);
    if (used >= sysex_->BufferLength) {
        // Full: hand it over and go on in the next buffer, as a driver does.
        EndSysex(DriverMessage::LongData, millis);
        inSysex_ = true;
        sysex_ = TakeBuffer();
        if (!sysex_) return;
        used = 0;
    }
    sysex_->Data[used] = byte;
    sysex_->BytesRecorded.store(used + 1, std::memory_order_relaxed);
}

void StreamInput::EndSysex(DriverMessage kind, std::uint32_t millis) noexcept {
    inSysex_ = false;
    MidiHeader* header = sysex_;
    sysex_ = nullptr;
    if (!header) return;
    queued_.fetch_sub(1);
    header->Flags.fetch_and(~HeaderInQueue);
    header->Flags.fetch_or(HeaderDone);
    callback_(kind, instance_, reinterpret_cast<std::uintptr_t>(header), millis);
}

MidiHeader* StreamInput::TakeBuffer() noexcept {
    if (!ready_) {
        // Take what the control thread added; the stack is newest first, so reverse it.
        MidiHeader* stack = added_.exchange(nullptr);
        while (stack) {
            MidiHeader* next = stack->Next;
            stack->Next = ready_;
            ready_ = stack;
            stack = next;
        }
    }
    MidiHeader* header = ready_;
    if (header) {
        ready_ = header->Next;
        header->Next = nullptr;
    }
    return header;
}

}  // namespace chordella::midi
