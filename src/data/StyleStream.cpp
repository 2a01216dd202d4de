#include "data/StyleStream.h"

#include <new>

namespace chordella::data {

namespace {
std::unique_ptr<std::uint8_t[]> NewBuffer() {
    // Value-initialised: a fresh buffer reads as an empty stream (0x00).
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[StreamCapacity]());
}
}  // namespace

bool StreamChain::Allocate() {
    if (buffers_[0]) return true;
    buffers_[0] = NewBuffer();
    return buffers_[0] != nullptr;
}

bool StreamChain::AddBuffer() {
    if (!buffers_[0]) return false;
    for (auto& buffer : buffers_) {
        if (buffer) continue;
        buffer = NewBuffer();
        return buffer != nullptr;
    }
    return false;
}

int StreamChain::BufferCount() const {
    int count = 0;
    while (count < MaxStreamBuffers && buffers_[static_cast<std::size_t>(count)]) ++count;
    return count;
}

std::uint8_t* StreamChain::Buffer(int index) {
    if (index < 0 || index >= MaxStreamBuffers) return nullptr;
    return buffers_[static_cast<std::size_t>(index)].get();
}

const std::uint8_t* StreamChain::Buffer(int index) const {
    if (index < 0 || index >= MaxStreamBuffers) return nullptr;
    return buffers_[static_cast<std::size_t>(index)].get();
}

std::span<std::uint8_t> StreamChain::First() {
    if (!buffers_[0]) return {};
    return {buffers_[0].get(), static_cast<std::size_t>(StreamCapacity)};
}

std::span<const std::uint8_t> StreamChain::First() const {
    if (!buffers_[0]) return {};
    return {buffers_[0].get(), static_cast<std::size_t>(StreamCapacity)};
}

}  // namespace chordella::data
