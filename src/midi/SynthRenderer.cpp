#include "midi/SynthRenderer.h"

#include <algorithm>
#include <thread>

#include "midi/WavFile.h"

namespace chordella::midi {

std::unique_ptr<SynthRenderer> SynthRenderer::Create(std::string& error, int sampleRate, const std::string& soundFont) {
    // Offline there is no deadline to share the processor with: use every core (up to 4).
    const int cores = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    auto synth = Synth::Create(sampleRate, error, cores);
    if (!synth || !synth->LoadSoundFont(soundFont, error)) return nullptr;
    return std::unique_ptr<SynthRenderer>(new SynthRenderer(std::move(synth)));
}

void SynthRenderer::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    PutShortMsg(status | std::uint32_t{data1} << 8 | std::uint32_t{data2} << 16);
}

void SynthRenderer::PutShortMsg(std::uint32_t packed) { synth_->SendPacked(packed); }

bool SynthRenderer::PutBytes(std::span<const std::uint8_t> bytes) { return synth_->Send(bytes.data(), bytes.size()); }

void SynthRenderer::RenderUntil(std::int64_t micros) {
    if (micros <= 0) return;
    const auto target = static_cast<std::uint64_t>(micros) * static_cast<std::uint64_t>(SampleRate()) / 1'000'000u;
    if (target <= frames_) return;
    synth_->Render(static_cast<std::size_t>(target - frames_), samples_);
    frames_ = target;
}

std::int64_t SynthRenderer::RenderedMicros() const {
    return static_cast<std::int64_t>(frames_ * 1'000'000u / static_cast<std::uint64_t>(SampleRate()));
}

bool SynthRenderer::WriteWav(const std::string& path, std::string& error) const {
    return WriteWavFile(path, samples_, 2, SampleRate(), error);
}

bool RenderToWav(std::span<const TimedMessage> messages, std::int64_t endMicros, const std::string& path,
                 std::string& error) {
    auto renderer = SynthRenderer::Create(error);
    if (!renderer) return false;
    std::vector<const TimedMessage*> order;
    for (const auto& message : messages) order.push_back(&message);
    std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->Micros < b->Micros; });
    for (const TimedMessage* message : order) {
        if (message->Micros > endMicros) break;
        renderer->RenderUntil(message->Micros);
        renderer->PutBytes(message->Bytes);
    }
    renderer->RenderUntil(endMicros);
    return renderer->WriteWav(path, error);
}

}  // namespace chordella::midi
