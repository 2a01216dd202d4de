#include "stylecreator/CreatorRecording.h"

#include "core/Session.h"
#include "stylecreator/PartPlacement.h"
#include "stylecreator/PartSetter.h"

namespace chordella::stylecreator {

void MidiRecorder::Begin() {
    core::Session& session = creator_.Session();
    data::CreatorWork& work = session.Style().Work;
    full_ = !data::EnsureWorkChunks(work, data::MaxWorkChunks);
    ticks_ = 0;
    writer_.emplace(&work, data::WorkPosition{});
    host_.ShowStatus(RecordingMark);
}

void MidiRecorder::Start(bool forCapture, std::function<void(bool)> then) {
    // Song mode first, then the work is cleared (which asks nothing outside Style mode).
    auto begin = [this, then] {
        host_.StopPlayback();
        creator_.State().Mode = CreatorMode::Song;
        creator_.State().MarkPointer = 0;
        creator_.ClearWork([this, then](bool cleared) {
            if (cleared) Begin();
            if (then) then(cleared);
        });
    };
    if (forCapture || !creator_.HasWork()) return begin();
    creator_.Session().Prompter().ConfirmThen(ReplaceWorkQuestion, [begin, then](bool yes) {
        if (yes) return begin();
        if (then) then(false);
    });
}

void MidiRecorder::ClockTick() {
    if (!writer_) return;
    writer_->Wait(true);
    if (writer_->Full()) full_ = true;
    else ++ticks_;
}

bool MidiRecorder::Message(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!writer_ || !data::stream::IsChannelMessage(status) || data1 > 127 || data2 > 127) return false;
    // Program change and channel pressure carry one data byte; the stream keeps three.
    const int kind = status & 0xF0;
    if (kind == 0xC0 || kind == 0xD0) data2 = 0;
    if (!writer_->Message(status, data1, data2)) {
        full_ = true;
        return false;
    }
    return true;
}

bool MidiRecorder::Stop() {
    if (!writer_) return false;
    data::CreatorWork& work = creator_.Session().Style().Work;
    writer_->Finish();
    std::int64_t length = 0;
    for (const data::WorkChunk& chunk : work.Chunks)
        if (chunk.Present) length += chunk.Size;
    work.WorkLength = static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
    work.WorkLengthUnits = static_cast<std::uint16_t>(std::min<std::int64_t>(data::MaterialTicks(work) / 6, 65535));
    work.WorkModified = true;
    work.ImportedSong = false;
    writer_.reset();
    creator_.RebuildBeatIndex();
    host_.StopPlayback();
    host_.ShowStatus("");
    return true;
}

int MidiRecorder::MeasureNow() const {
    return static_cast<int>(ticks_ / MeasureTicks(creator_.MeasureUnits())) + 1;
}

void CaptureStyle::Start(const CapturePanel& panel) {
    panel_ = panel;
    recorder_.Start(true);
}

int CaptureStyle::Finish() {
    recorder_.Stop();
    core::Session& session = creator_.Session();
    CreatorState& state = creator_.State();
    state.Mode = CreatorMode::Style;
    state.MarkPointer = 0;
    if (panel_.Tempo > 0) creator_.Live().clock.Tempo = panel_.Tempo;
    int set = 0;
    for (int p = 0; p < data::PartCount; ++p) {
        const StructureRange& range = panel_.Parts[static_cast<std::size_t>(p)];
        if (range.Start < 1 || range.End < 1) continue;
        PartRequest request;
        request.Part = p;
        request.StartMeasure = std::min(range.Start, range.End);
        request.EndMeasure = std::max(range.Start, range.End);
        PartOutcome outcome;
        if (setter_.SetNow(request, outcome) == PartSetter::Result::Set) ++set;
    }
    data::StyleState& style = session.Style().style;
    if (set > 0) {
        style.StylePath = "*.vxs";
        session.Prompter().Inform(StylepartsCreated);
    } else {
        state.Mode = CreatorMode::Song;
    }
    style.StyleModified = 1;
    host_.StopPlayback();
    return set;
}

std::optional<int> ClickMeasureMarks(CreatorState& state, bool recording, int measureNow) {
    if (recording) {
        state.MarkPointer = state.MarkPointer % MeasureMarkSlots + 1;
        state.MeasureMarks[static_cast<std::size_t>(state.MarkPointer - 1)] = measureNow;
        return std::nullopt;
    }
    if (state.Mode != CreatorMode::Style) return std::nullopt;
    for (int step = 0; step < MeasureMarkSlots; ++step) {
        state.MarkPointer = state.MarkPointer % MeasureMarkSlots + 1;
        const int measure = state.MeasureMarks[static_cast<std::size_t>(state.MarkPointer - 1)];
        if (measure > 0) {
            state.StyleRange.StartMeasure = measure;
            state.StyleRange.StopMeasure = 0;
            return measure;
        }
    }
    return std::nullopt;
}

}  // namespace chordella::stylecreator
