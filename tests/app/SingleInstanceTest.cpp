// Two real starts of the program on one data home, as a user would make them.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "support/RunChordella.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"

namespace {

namespace fs = std::filesystem;

using Result = chordella::testing::CommandResult;

// The lock lives in XDG_RUNTIME_DIR: each test gets its own, so parallel runs never meet.
// A start that wrongly became the first one would never end: timeout stops it (124).
Result RunSecond(const std::string& runtime, const std::string& arguments) {
    // Without a display the program runs headless, which is what these tests drive.
    return chordella::testing::RunChordella(
        arguments, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR='" + runtime + "' timeout 60");
}

// What the first start says (its messages without a window) goes to `log`.
pid_t StartFirst(const std::string& runtime, const std::string& home, const std::string& log = "/dev/null") {
    const std::string exe = chordella::testing::ChordellaExe();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) unsetenv(display);
        const int said = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(said, STDOUT_FILENO);
        dup2(said, STDERR_FILENO);
        execl(exe.c_str(), "chordella", "--home", home.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 1200; ++i) {  // a minute
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(SingleInstance, ASecondStartHandsItsFileToTheFirstAndEndsWith255) {
    chordella::testing::TempFolder folder;
    const std::string runtime = folder.Path();
    const std::string home = folder.File("home");
    const std::string style = folder.File("Broken.vxs");
    std::ofstream(style) << "style";

    const pid_t first = StartFirst(runtime, home, folder.File("first.log"));
    ASSERT_GT(first, 0);
    // The first start holds the lock before it makes the data home's folders.
    ASSERT_TRUE(WaitFor([&] { return fs::is_directory(home + "/LISTS"); }));

    const Result second = RunSecond(runtime, "--home '" + home + "' '" + style + "'");
    EXPECT_EQ(second.exitCode, 255);
    EXPECT_NE(second.output.find("Chordella is already running !"), std::string::npos) << second.output;

    // The running one takes the hand-over file within its polling period.
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(home + "/CurrentStyle.sty"); }));

    const Result third = RunSecond(runtime, "--home '" + home + "'");
    EXPECT_EQ(third.exitCode, 255);
    EXPECT_FALSE(fs::exists(home + "/CurrentStyle.sty"));  // nothing to hand over

    // Ending the first one runs the exit sequence: the settings are saved.
    kill(first, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(first, &status, 0), first);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::exists(home + "/chordella.ini"));
    // The running one is the whole program: it tried to load the style it was handed, and
    // said why it could not.
    std::ifstream logFile(folder.File("first.log"));
    const std::string said((std::istreambuf_iterator<char>(logFile)), std::istreambuf_iterator<char>());
    EXPECT_NE(said.find("Broken.vxs"), std::string::npos) << said;

    // Once it has ended, the next start is the only one again.
    fs::remove_all(home + "/LISTS");
    const pid_t again = StartFirst(runtime, home);
    ASSERT_TRUE(WaitFor([&] { return fs::is_directory(home + "/LISTS"); }));
    EXPECT_EQ(RunSecond(runtime, "--home '" + home + "'").exitCode, 255);
    kill(again, SIGTERM);
    waitpid(again, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A portable home is a program of its own: another folder starts beside the running one,
// while the same folder, however it is spelled, is still refused.
TEST(SingleInstance, EachDataHomeIsAnInstanceOfItsOwn) {
    chordella::testing::TempFolder folder;
    const std::string runtime = folder.Path();
    const std::string home = folder.File("home");
    const std::string other = folder.File("other");
    fs::create_directories(folder.File("links"));
    fs::create_directory_symlink(home, folder.File("links/home"));

    const pid_t first = StartFirst(runtime, home);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitFor([&] { return fs::is_directory(home + "/LISTS"); }));
    const pid_t beside = StartFirst(runtime, other);
    ASSERT_GT(beside, 0);
    EXPECT_TRUE(WaitFor([&] { return fs::is_directory(other + "/LISTS"); })) << "the other home started";
    int status = 0;
    EXPECT_EQ(waitpid(beside, &status, WNOHANG), 0) << "and runs beside the first";

    for (const std::string& spelling : {home + "/", folder.File("links/home"), folder.File("links/../home")}) {
        const Result again = RunSecond(runtime, "--home '" + spelling + "'");
        EXPECT_EQ(again.exitCode, 255) << spelling;
    }
    for (const pid_t pid : {first, beside}) {
        kill(pid, SIGTERM);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

TEST(SingleInstance, AFileThatDoesNotExistIsAUsageError) {
    chordella::testing::TempFolder folder;
    const Result result = RunSecond(folder.Path(), "--home '" + folder.File("home") + "' " + folder.File("none.vxs"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("none.vxs"), std::string::npos) << result.output;
}

}  // namespace
