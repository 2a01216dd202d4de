// make_assets SOURCES ASSETS [--check]
// Authors the bundled styles, songs and songlist from the readable sources into the assets
// folder; with --check it only compares and names the files that differ (exit code 1).

#include <cstdio>
#include <string>
#include <vector>

#include "make_assets/AssetAuthor.h"

int main(int argc, char** argv) {
    using namespace chordella::tools;
    const bool check = argc == 4 && std::string(argv[3]) == "--check";
    if (argc != 3 && !check) {
        std::fprintf(stderr, "usage: make_assets SOURCE-FOLDER ASSETS-FOLDER [--check]\n");
        return 2;
    }
    std::vector<AuthoredFile> files;
    std::string error;
    if (!AuthorAssets(argv[1], files, error)) {
        std::fprintf(stderr, "make_assets: %s\n", error.c_str());
        return 1;
    }
    if (check) {
        const auto differing = DifferingAssets(files, argv[2]);
        for (const std::string& path : differing) std::fprintf(stderr, "make_assets: %s differs from its source\n", path.c_str());
        return differing.empty() ? 0 : 1;
    }
    if (!WriteAssets(files, argv[2], error)) {
        std::fprintf(stderr, "make_assets: %s\n", error.c_str());
        return 1;
    }
    for (const AuthoredFile& file : files)
        std::printf("%s (%zu bytes)\n", file.RelativePath.c_str(), file.Bytes.size());
    return 0;
}
