#include "data/SongFile.h"

#include <algorithm>
#include <cstdio>

#include "platform/Bytes.h"
#include "platform/Paths.h"

namespace chordella::data {

namespace {

constexpr std::string_view LineBreak = "\r\n";

// Text up to the first zero byte, as the fixed buffers hold it.
std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(LineBreak, start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + LineBreak.size();
        if (start == text.size()) break;  // a final line break ends the last line
    }
    return lines;
}

std::string FitField(std::string field) {
    std::erase(field, '\0');
    std::replace(field.begin(), field.end(), '\r', ' ');
    std::replace(field.begin(), field.end(), '\n', ' ');
    if (field.size() > SongFieldCapacity) field.resize(SongFieldCapacity);
    return field;
}

bool ReadMelodyBlock(platform::ByteReader& in, SongFileContent& content) {
    std::uint32_t length = 0;
    if (!in.U32(length, "melody length")) return false;
    const std::size_t start = in.Offset();
    if (!in.Skip(length, "melody events")) return false;
    if (!in.Seek(start, "melody events")) return false;
    content.Melody.resize(length / MelodyEventSize);
    for (MelodyEvent& event : content.Melody) {
        in.I32(event.Time, "melody time");
        in.U8(event.Status, "melody status");
        in.U8(event.Data1, "melody data");
        in.U8(event.Data2, "melody data");
        in.U8(event.IsNote, "melody note flag");
    }
    content.MelodyBytesIgnored = length % MelodyEventSize;
    return in.Seek(start + length, "melody end");
}

// The comment block is text: a control byte before its end (other than tab and line
// breaks) says the file is something else with a song's name.
std::string ControlByteIn(std::string_view comments, std::size_t offset) {
    for (std::size_t i = 0; i < comments.size(); ++i) {
        const auto c = static_cast<unsigned char>(comments[i]);
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') {
            char found[8];
            std::snprintf(found, sizeof found, "0x%02X", c);
            return "not a song: expected comment text at offset " + std::to_string(offset + i) + ", found byte " + found;
        }
    }
    return {};
}

bool ReadTextSection(platform::ByteReader& in, std::span<const std::uint8_t> file, SongFileContent& content,
                     std::string& error) {
    std::uint8_t marker = 0;
    in.Peek(marker);
    if (marker == TextMarker || marker == CreatorTextMarker) {
        in.Skip(1, "text marker");
        content.CreatorRepeatFlag = marker == CreatorTextMarker;
        std::uint32_t length = 0;
        if (!in.U32(length, "text length")) return false;
        const std::size_t start = in.Offset();
        if (!in.Skip(length, "song text")) return false;
        content.Text = SplitSongText(AsText(file.subspan(start, length)));
    } else {
        std::array<std::uint8_t, FixedCommentBlockSize> block{};
        const std::size_t blockStart = in.Offset();
        if (!in.Bytes(block, "comment block")) return false;
        error = ControlByteIn(UpToZero(AsText(block)), blockStart);
        if (!error.empty()) return false;
        SongText comments;
        comments.SongComments = std::string(UpToZero(AsText(block)));
        content.Text = FitSongText(std::move(comments));
    }
    content.HasText = true;
    return true;
}

bool ReadStyleReference(platform::ByteReader& in, SongFileContent& content) {
    std::uint8_t marker = 0;
    if (!in.Peek(marker) || marker != StyleReferenceMarker) return true;
    in.Skip(1, "style reference marker");
    std::array<std::uint8_t, StyleReferenceSize> path{};
    if (!in.Bytes(path, "style reference")) return false;
    content.HasStyleReference = true;
    content.StyleReference = std::string(UpToZero(AsText(path)));
    return true;
}

void ReadChordMemory(platform::ByteReader& in, SongFileContent& content) {
    const auto bytes = in.Rest(ChordMemorySize);
    content.ChordMemory.assign(bytes.begin(), bytes.end());
    content.ChordMemoryBytesCut = in.Remaining();
}

}  // namespace

SongReadResult ReadSongFile(std::span<const std::uint8_t> bytes) {
    SongReadResult result;
    SongFileContent& content = result.Content;
    platform::ByteReader in(bytes);
    std::uint8_t first = 0;
    if (!in.Peek(first)) {
        result.Error = "the file is empty";
        return result;
    }
    if (first == ShortFormMarker) {
        in.Skip(1, "form marker");
        content.Form = SongFileForm::Short;
        ReadChordMemory(in, content);
        result.Ok = true;
        return result;
    }
    bool ok = true;
    if (first == MelodyBlockMarker) {
        in.Skip(1, "form marker");
        content.Form = SongFileForm::FullWithMelody;
        ok = ReadMelodyBlock(in, content);
    }
    std::string textError;
    ok = ok && ReadTextSection(in, bytes, content, textError) && in.Skip(ReservedBlockSize, "reserved bytes") &&
         ReadStyleReference(in, content);
    if (!ok) {
        result.Error = textError.empty() ? in.Error() : textError;
        return result;
    }
    ReadChordMemory(in, content);
    result.Ok = true;
    return result;
}

std::vector<std::uint8_t> WriteSongFile(const SongFileContent& content) {
    std::vector<std::uint8_t> out;
    platform::ByteWriter w(out);
    if (!content.Melody.empty()) {
        w.U8(MelodyBlockMarker);
        w.U32(static_cast<std::uint32_t>(content.Melody.size() * MelodyEventSize));
        for (const MelodyEvent& event : content.Melody) {
            w.I32(event.Time);
            w.U8(event.Status);
            w.U8(event.Data1);
            w.U8(event.Data2);
            w.U8(event.IsNote);
        }
    }
    const std::string text = JoinSongText(content.Text);
    w.U8(content.CreatorRepeatFlag ? CreatorTextMarker : TextMarker);
    w.U32(static_cast<std::uint32_t>(text.size()));
    w.Bytes(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    w.Zeros(ReservedBlockSize);
    const std::size_t memoryBytes = std::min<std::size_t>(content.ChordMemory.size(), ChordMemorySize);
    // A chord memory that starts with the marker byte could not be told from a style
    // reference, so such a song always gets one (empty if need be).
    const bool startsLikeMarker = memoryBytes > 0 && content.ChordMemory[0] == StyleReferenceMarker;
    if (content.HasStyleReference || startsLikeMarker) {
        const std::string stored = StoredStyleReference(content.StyleReference);
        w.U8(StyleReferenceMarker);
        w.Bytes(std::span(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size()));
        w.Zeros(StyleReferenceSize - stored.size());
    }
    w.Bytes(std::span(content.ChordMemory.data(), memoryBytes));
    return out;
}

SongText SplitSongText(std::string_view raw) {
    const auto lines = SplitLines(UpToZero(raw));
    SongText text;
    std::size_t commentLines = lines.size();
    if (lines.size() > 3) {
        commentLines = lines.size() - 4;
        text.SongTitle = lines[commentLines];
        text.SongSubtitle = lines[commentLines + 1];
        text.SongAuthor = lines[commentLines + 2];
        text.SongRights = lines[commentLines + 3];
    }
    for (std::size_t i = 0; i < commentLines; ++i) {
        if (i > 0) text.SongComments += LineBreak;
        text.SongComments += lines[i];
    }
    return FitSongText(std::move(text));
}

SongText FitSongText(SongText text) {
    text.SongTitle = FitField(std::move(text.SongTitle));
    text.SongSubtitle = FitField(std::move(text.SongSubtitle));
    text.SongAuthor = FitField(std::move(text.SongAuthor));
    text.SongRights = FitField(std::move(text.SongRights));
    std::erase(text.SongComments, '\0');
    const std::size_t fields = text.SongTitle.size() + text.SongSubtitle.size() + text.SongAuthor.size() +
                               text.SongRights.size() + 4 * LineBreak.size();
    const std::size_t room = SongTextCapacity - fields;  // fields take at most 1028 bytes
    if (text.SongComments.size() + LineBreak.size() > room)
        text.SongComments.resize(room > LineBreak.size() ? room - LineBreak.size() : 0);
    return text;
}

std::string JoinSongText(const SongText& unfitted) {
    const SongText text = FitSongText(unfitted);
    std::string joined;
    if (!text.SongComments.empty()) joined.append(text.SongComments).append(LineBreak);
    for (const std::string* field : {&text.SongTitle, &text.SongSubtitle, &text.SongAuthor, &text.SongRights})
        joined.append(*field).append(LineBreak);
    return joined;
}

std::string StoredStyleReference(std::string_view stylePath) {
    std::string stored(UpToZero(stylePath));
    if (stored.size() < StyleReferenceSize) return stored;
    stored = std::string(platform::FileNamePart(stored));
    if (stored.size() >= StyleReferenceSize) stored.resize(StyleReferenceSize - 1);
    return stored;
}

std::size_t ApplySongFile(const SongFileContent& content, ArrangementState& song) {
    song.Chords.Bytes.fill(0);
    song.Chords.ChordMemoryLength = ChordMemoryHeaderSize;
    ClearMelody(song.Melody);
    song.Text = SongText{};
    song.CreatorRepeatFlag = content.CreatorRepeatFlag ? 1 : 0;
    song.HasStyleReference = content.HasStyleReference;
    song.StyleReference = content.HasStyleReference ? StoredStyleReference(content.StyleReference) : std::string();

    const std::size_t memoryBytes = std::min<std::size_t>(content.ChordMemory.size(), ChordMemorySize);
    std::copy_n(content.ChordMemory.begin(), memoryBytes, song.Chords.Bytes.begin());
    if (memoryBytes > ChordMemoryHeaderSize)
        song.Chords.ChordMemoryLength = static_cast<std::int16_t>(memoryBytes);
    else
        song.Chords.Bytes[ChordMemoryHeaderSize + 2] = CommandStop;  // an empty song ends at once

    const auto capacity = static_cast<std::size_t>(std::max<std::int16_t>(song.Melody.MelodyCapacity, 0));
    const std::size_t events = std::min(content.Melody.size(), capacity);
    std::copy_n(content.Melody.begin(), events, song.Melody.MelodyBuffer.begin());
    std::copy_n(content.Melody.begin(), events, song.Melody.MelodyBackup.begin());
    song.Melody.MelodyCount = static_cast<std::int16_t>(events);

    if (content.HasText) song.Text = FitSongText(content.Text);
    return content.Melody.size() - events;
}

SongFileContent SongFileContentOf(const ArrangementState& song, std::string_view styleReference) {
    SongFileContent content;
    content.Form = song.Melody.MelodyCount > 0 ? SongFileForm::FullWithMelody : SongFileForm::Full;
    const auto count = static_cast<std::size_t>(std::max<std::int16_t>(song.Melody.MelodyCount, 0));
    content.Melody.assign(song.Melody.MelodyBuffer.begin(),
                          song.Melody.MelodyBuffer.begin() +
                              static_cast<std::ptrdiff_t>(std::min(count, song.Melody.MelodyBuffer.size())));
    content.Text = song.Text;
    content.HasText = true;
    content.CreatorRepeatFlag = song.CreatorRepeatFlag != 0;
    content.HasStyleReference = !styleReference.empty();
    content.StyleReference = std::string(styleReference);
    const int length = std::clamp<int>(song.Chords.ChordMemoryLength, 0, ChordMemorySize);
    content.ChordMemory.assign(song.Chords.Bytes.begin(), song.Chords.Bytes.begin() + length);
    return content;
}

}  // namespace chordella::data
