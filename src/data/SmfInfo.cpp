#include "data/SmfInfo.h"

#include <cstdio>

#include "data/CreatorWorkWriter.h"

namespace chordella::data {

namespace {

void ScanTrack(const SmfTrackChunk& chunk, int trackNumber, SmfSummary& summary) {
    SmfTrackSummary track;
    track.DeclaredLength = chunk.DeclaredLength;
    track.PresentBytes = chunk.Data.size();
    SmfTrackReader reader(chunk.Data);
    std::int64_t time = 0;
    while (!track.EndOfTrack) {
        std::uint32_t delta = 0;
        SmfRead read = reader.ReadDelta(delta);
        SmfEvent event;
        if (read == SmfRead::Ok) read = reader.ReadEvent(event);
        if (read == SmfRead::UnknownCode) track.Problem = "unknown status byte at track offset " + std::to_string(reader.Position());
        if (read == SmfRead::Damaged) track.Problem = reader.Problem();
        if (read != SmfRead::Ok) break;
        time += delta;
        ++track.Events;
        track.EndTick = time;
        if (event.Type != SmfEvent::Kind::Meta) continue;
        const auto& data = event.Payload;
        if (event.MetaType == 0x2F) track.EndOfTrack = true;
        if (event.MetaType == 0x03 && track.Name.empty()) track.Name.assign(data.begin(), data.end());
        if (event.MetaType == 0x58 && data.size() >= 2) {
            const int denominator = data[1] < 8 ? 1 << data[1] : 0;
            summary.Meters.push_back({time, trackNumber, std::to_string(data[0]) + "/" + std::to_string(denominator)});
        }
        if (event.MetaType == 0x51 && data.size() >= 3) {
            const std::uint32_t micros = static_cast<std::uint32_t>(data[0]) << 16 | data[1] << 8 | data[2];
            char text[32];
            std::snprintf(text, sizeof text, "%.1f", micros ? 60000000.0 / micros : 0.0);
            summary.Tempos.push_back({time, trackNumber, text});
        }
    }
    if (track.Problem.empty() && !track.EndOfTrack && chunk.CutShort()) track.Problem = "the track is cut short by the end of the file";
    else if (track.Problem.empty() && !track.EndOfTrack) track.Problem = "no end-of-track event";
    summary.Tracks.push_back(std::move(track));
}

}  // namespace

bool SummarizeSmf(std::span<const std::uint8_t> bytes, SmfSummary& summary, std::string& error) {
    summary = SmfSummary{};
    summary.FileSize = bytes.size();
    const SmfLayoutError layoutError = ReadSmfLayout(bytes, summary.Layout);
    if (layoutError != SmfLayoutError::None) {
        error = SmfLayoutMessage(layoutError, summary.Layout.Division);
        return false;
    }
    for (std::size_t index = 0; index < summary.Layout.Tracks.size(); ++index)
        ScanTrack(summary.Layout.Tracks[index], static_cast<int>(index) + 1, summary);

    ImportSettings settings;
    settings.CollectMarkers = true;  // shown for every file; an import collects them for style formats only
    CreatorWorkWriter counter(nullptr, {});
    summary.Import = RunImport(summary.Layout, settings, counter);
    switch (summary.Import.Status) {
        case ImportStatus::Done: break;
        case ImportStatus::OutputFull: summary.ImportMessage = "Sorry - Out of Memory !"; break;
        case ImportStatus::UnknownCode: summary.ImportMessage = UnknownCodeMessage(summary.Import.Problem); break;
        case ImportStatus::Damaged:
            summary.ImportMessage = "This MIDI-File is damaged (" + summary.Import.Problem + ") !";
            break;
    }
    if (bytes.size() > MaxImportFileSize) summary.ImportMessage = "Sorry - the file is too long !";
    return true;
}

}  // namespace chordella::data
