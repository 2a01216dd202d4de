#include "stylecreator/WorkFiles.h"

#include <algorithm>

#include "data/StyleFile.h"
#include "data/StyleStream.h"

namespace chordella::stylecreator {

std::vector<std::uint8_t> StyleStreamOf(const data::CreatorWork& work) {
    const auto material = data::FirstChunkMaterial(work);
    std::vector<std::uint8_t> stream(material.begin(), material.end());
    while (!stream.empty() && (stream.back() == data::stream::EndOfBuffer || stream.back() == data::stream::EndOfStream))
        stream.pop_back();
    if (stream.size() >= static_cast<std::size_t>(data::StreamCapacity)) stream.resize(data::StreamCapacity - 1);
    stream.push_back(data::stream::EndOfStream);
    return stream;
}

data::WorkFile MakeWorkFile(const data::CreatorWork& work, const data::ChordMemory& chords,
                            const data::StyleHeader& header, const data::PartTable& parts) {
    data::WorkFile file;
    data::TakeWorkMaterial(work, file);
    const int length = std::clamp<int>(chords.ChordMemoryLength, data::EmptyChordMemoryLength,
                                       data::ChordMemorySize - data::ChordMemoryHeaderSize);
    file.ChordMemoryLength = static_cast<std::uint16_t>(length);
    file.ChordMemory.assign(chords.Bytes.begin(), chords.Bytes.begin() + length + data::ChordMemoryHeaderSize);
    // The style blocks as a style file without its tag lays them out.
    const std::vector<std::uint8_t> blocks = data::StyleFileBytes(header, parts, {}, 0);
    std::copy_n(blocks.begin(), data::WorkStyleHeaderSize, file.StyleHeader.begin());
    std::copy_n(blocks.begin() + data::WorkStyleHeaderSize, data::WorkPartTableSize, file.PartTable.begin());
    return file;
}

bool ReadWorkBlocks(const data::WorkFile& file, data::StyleHeader& header, data::PartTable& parts,
                    std::string& error) {
    // Read as a tagged style file so that no header value is taken for a tag.
    std::vector<std::uint8_t> bytes;
    const std::uint32_t tag = static_cast<std::uint32_t>(data::StyleFileTagWritten);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(tag >> shift));
    bytes.insert(bytes.end(), file.StyleHeader.begin(), file.StyleHeader.end());
    bytes.insert(bytes.end(), file.PartTable.begin(), file.PartTable.end());
    bytes.insert(bytes.end(), file.Stream.begin(), file.Stream.end());
    data::StyleImage image;
    if (!data::ReadStyleFile(bytes, image, error)) return false;
    if (!data::CheckStyleHeader(image.Header, error)) return false;
    header = image.Header;
    parts = image.Parts;
    return true;
}

void PutWorkChords(const data::WorkFile& file, data::ChordMemory& chords) {
    data::ClearChordMemory(chords);
    const std::size_t count = std::min(file.ChordMemory.size(), chords.Bytes.size());
    std::copy_n(file.ChordMemory.begin(), count, chords.Bytes.begin());
    chords.ChordMemoryLength = static_cast<std::int16_t>(
        std::clamp<int>(file.ChordMemoryLength, data::ChordMemoryHeaderSize, data::ChordMemorySize));
}

}  // namespace chordella::stylecreator
