#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace chordella::platform {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Paths, TheHomeFlagWinsOverTheEnvironmentAndTheMarkerFile) {
    testing::TempFolder flag, environment, program;
    std::ofstream(program.File("Portable Chordella.txt")) << "";
    ScopedEnvironment home("CHORDELLA_HOME", environment.Path().c_str());

    const Paths fromFlag = Paths::Resolve(flag.Path(), program.File("chordella"));
    EXPECT_TRUE(fromFlag.Portable());
    EXPECT_EQ(fromFlag.DataDir(), flag.Path());
    EXPECT_EQ(fromFlag.IniPath(), flag.Path() + "/chordella.ini");

    EXPECT_EQ(Paths::Resolve(std::nullopt, program.File("chordella")).DataDir(), environment.Path());
}

// Without the flag or the variable, the marker beside the program makes its folder the home;
// otherwise the XDG folders are used.
TEST(Paths, TheMarkerBesideTheProgramMakesItsFolderTheHomeOtherwiseTheXdgFoldersAreUsed) {
    testing::TempFolder program;
    ScopedEnvironment home("CHORDELLA_HOME", nullptr);
    ScopedEnvironment config("XDG_CONFIG_HOME", "/cfg/");
    ScopedEnvironment data("XDG_DATA_HOME", "/data");
    const Paths xdg = Paths::Resolve(std::nullopt, program.File("chordella"));
    EXPECT_FALSE(xdg.Portable());
    EXPECT_EQ(xdg.IniPath(), "/cfg/chordella/chordella.ini");
    EXPECT_EQ(xdg.Songs(), "/data/chordella/SONGS");

    std::ofstream(program.File("Portable Chordella.txt")) << "";
    const Paths portable = Paths::Resolve(std::nullopt, program.File("chordella"));
    EXPECT_TRUE(portable.Portable());
    EXPECT_EQ(portable.Styles(), program.Path() + "/STYLES");
}

TEST(Paths, StoredWindowsPathsAreUnderstood) {
    EXPECT_EQ(FileNamePart("C:\\Old\\STYLES\\Pop.vxs"), "Pop.vxs");
    EXPECT_EQ(FileNamePart("/home/a/STYLES/Pop.vxs"), "Pop.vxs");
    EXPECT_EQ(FileNamePart("Pop.vxs"), "Pop.vxs");
    EXPECT_EQ(WithForwardSlashes("\\STYLES\\cont1.vxs"), "/STYLES/cont1.vxs");
    EXPECT_EQ(FolderOf("C:\\Old\\Pop.vxs"), "C:\\Old");
    EXPECT_EQ(FolderOf("/x"), "/");
}

}  // namespace
}  // namespace chordella::platform
