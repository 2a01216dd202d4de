// Another maker's style file, whatever it holds, loaded the way `play FILE.sty` loads it and
// played over chords of every kind: natively by its channel table, or converted when the table
// is missing or damaged. Nothing may crash, and a load that fails must say why and keep the
// style it found.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/ForeignStylePlay.h"
#include "app/RenderSession.h"
#include "core/Session.h"
#include "data/SmfWriter.h"
#include "platform/Paths.h"

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/chordella-fuzz-foreign-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        return std::string(made);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella;
    const std::string path = Folder() + "/Fuzzed.sty";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    static app::RenderSession render{platform::Paths::InFolder(Folder())};
    const bool hadNative = render.Session().Style().style.Native.Present;
    const app::ForeignLoad loaded =
        app::LoadForeignStyle(render.Session(), render.State(), path, 1 + static_cast<int>(size % 6));
    if (!loaded.Loaded) {
        if (loaded.Error.empty()) std::abort();
        if (render.Session().Style().style.Native.Present != hadNative) std::abort();
        return 0;
    }
    if (loaded.Native != render.Session().Style().style.Native.Present && loaded.Native) std::abort();
    for (const auto& [root, type] : {std::pair{48, 9}, std::pair{57, 4}, std::pair{54, 15}, std::pair{50, 34}}) {
        data::SmfContent content;
        render.RenderPart(1, content, root, type);
        for (const data::SmfChannelMessage& m : content.Messages)
            if (m.Data1 > 127 || m.Data2 > 127) std::abort();
    }
    return 0;
}
