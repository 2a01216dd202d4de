// The batch processor's run over folders a test writes: what each mode writes, deletes and
// reports, the errors it counts, Cancel, and a disk that fills up.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "BatchTestFolder.h"
#include "app/BatchRun.h"
#include "data/StyleFile.h"
#include "library/PlaylistFiles.h"
#include "library/StylePlaylist.h"
#include "platform/Files.h"

namespace chordella::testing {
namespace {

namespace fs = std::filesystem;
using app::BatchMode;

std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    platform::ReadFileBytes(path, 1 << 22, bytes, error);
    return bytes;
}

bool ReadsAsStyle(const std::string& path, data::StyleImage& image, std::vector<std::uint8_t>& bytes) {
    std::string error;
    bytes = Bytes(path);
    return data::ReadStyleFile(bytes, image, error);
}

int Volume(const std::string& path, int channel) {
    data::StyleImage image;
    std::vector<std::uint8_t> bytes;
    if (!ReadsAsStyle(path, image, bytes)) return -1;
    return image.Header.ChannelSetup[static_cast<std::size_t>(channel)][7];
}

// Every file below `folder`, so a test can see that no temporary file was left.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> ErrorFiles(const app::BatchRun& run) {
    std::vector<std::string> files;
    for (const app::BatchError& error : run.Errors()) files.push_back(error.File);
    return files;
}

void RunAll(app::BatchRun& run) {
    int guard = 0;
    while (run.Step() && ++guard < 10000) {
    }
}

struct Home {
    TempFolder folder;
    platform::Paths paths = platform::Paths::InFolder(folder.Path());
};

app::BatchJob JobOver(BatchMode mode, const MixedFolder& mixed) {
    app::BatchJob job;
    job.Mode = mode;
    std::string error;
    job.Inputs = app::BatchInputsFromFolder(mixed.folder.Path(), mode, &error);
    EXPECT_EQ(error, "");
    return job;
}

TEST(BatchRun, NamesDescriptionsAndTypedNumbersFollowTheProgramsRules) {
    EXPECT_EQ(app::DescriptionFromFolder("C:\\Styles\\Latin\\vxs\\Salsa.vxs"), "Latin");
    EXPECT_EQ(app::DescriptionFromFolder("/home/u/STYLES/Ballads/Slow.vxs"), "Ballads");
    EXPECT_EQ(app::DescriptionFromFolder("/home/u/Very Long Folder Name/x.sty"), "Very long fold");
    EXPECT_EQ(app::DescriptionFromFolder("/m/ÄÄÄÄÄÄÄ/x.sty").size(), 14u);   // 7 two-byte letters kept whole
    EXPECT_EQ(app::DescriptionFromFolder("/m/aaaaaaaaaaaaaÄ/x.sty"), "Aaaaaaaaaaaaa");  // not cut inside a letter
    EXPECT_EQ(app::DescriptionFromFolder("Salsa.vxs"), "");
    EXPECT_EQ(app::DescriptionFromFolder("/Salsa.vxs"), "");
    EXPECT_EQ(app::DescriptionFromFolder("C:\\Salsa.vxs"), "");

    EXPECT_EQ(app::ConvertedName("/in/Pop Rock.S123.sty", 2, ""), "Pop Rock.S123-2.vxs");
    EXPECT_EQ(app::ConvertedName("/in/Pop.prs", 6, " Ballad "), "Pop-6-Ballad.vxs");
    EXPECT_EQ(app::ConvertedName("C:\\in\\Pop.sty", 1, "70s/80s"), "Pop-1-70s_80s.vxs");

    EXPECT_EQ(app::ParseSetCount("6"), 6);
    EXPECT_EQ(app::ParseSetCount(" 3 "), 3);
    for (const char* wrong : {"0", "7", "", "x", "2x", "-1"}) EXPECT_EQ(app::ParseSetCount(wrong), std::nullopt) << wrong;
    EXPECT_EQ(app::ParseSongCount("1"), 1);
    EXPECT_EQ(app::ParseSongCount("51"), 50);
    EXPECT_EQ(app::ParseSongCount("99999999999999999999"), std::nullopt);
    EXPECT_EQ(app::ParseSongCount("0"), std::nullopt);
    EXPECT_EQ(app::ParseSongCount(""), std::nullopt);

    EXPECT_EQ(app::ClearPlaylistQuestion(12),
              "The current playlist contains 12 entries. \n\r\n\rShould it be cleared before styles are added ?");
    EXPECT_EQ(app::BatchModeNamed("delete-bassless"), BatchMode::DeleteBassless);
    EXPECT_EQ(app::BatchModeNamed("Convert"), std::nullopt);
}

TEST(BatchRun, FolderInputsAreTheModesKindOfFileSortedWithSubfolders) {
    MixedFolder mixed;
    WriteTextFile(mixed.folder.File("Foreign.STY"), "MThd");
    EXPECT_EQ(app::BatchInputsFromFolder(mixed.folder.Path(), BatchMode::Check), mixed.Styles());
    EXPECT_EQ(app::BatchInputsFromFolder(mixed.folder.Path(), BatchMode::Convert),
              std::vector<std::string>{mixed.folder.File("Foreign.STY")});
    EXPECT_EQ(app::BatchInputsFromFolder(mixed.folder.Path(), BatchMode::Add).size(), mixed.Styles().size() + 1);
    std::string error;
    EXPECT_TRUE(app::BatchInputsFromFolder(mixed.folder.File("nowhere"), BatchMode::Check, &error).empty());
    EXPECT_NE(error.find("no such folder"), std::string::npos);
}

TEST(BatchRun, CheckReportsZeroBytePartsWritesTheReportAndChangesNothing) {
    MixedFolder mixed;
    Home home;
    const auto before = Bytes(mixed.good);
    app::BatchRun run(JobOver(BatchMode::Check, mixed), {.Paths = home.paths});
    RunAll(run);
    EXPECT_EQ(ErrorFiles(run), (std::vector<std::string>{mixed.damaged, mixed.empty}));
    EXPECT_EQ(run.Errors()[1].Reason, "the file is empty");
    ASSERT_FALSE(run.ReportFile().empty());
    const std::string name = fs::path(run.ReportFile()).filename().string();
    EXPECT_EQ(fs::path(run.ReportFile()).parent_path(), fs::path(home.paths.Lists()));
    // "CHECKED STYLES-yyyy.mm.dd-hh.nn.ss.txt"
    ASSERT_EQ(name.size(), std::string("CHECKED STYLES-2026.12.08-00.07.36.txt").size()) << name;
    EXPECT_EQ(name.rfind("CHECKED STYLES-", 0), 0u);
    EXPECT_EQ(name[19], '.');
    EXPECT_EQ(name[25], '-');
    const std::vector<std::string> expected = {"0-Byte at 3 found in ZeroPart.vxs",
                                               "Checked styles saved as \"" + run.ReportFile() + "\" !"};
    EXPECT_EQ(run.Messages(), expected);
    const std::string report = ReadTextFile(run.ReportFile());
    for (const std::string& path : mixed.Styles()) EXPECT_NE(report.find(path), std::string::npos) << path;
    EXPECT_NE(report.find("0-Byte at 3 found in ZeroPart.vxs"), std::string::npos);
    EXPECT_EQ(Bytes(mixed.good), before);
    EXPECT_EQ(run.Summary(),
              "Done with 2 errors ! - It is recommended to restart \r\nChordella before the created styles are used !");
    EXPECT_EQ(run.CountLine(), "6 of 6 files done, 2 errors");
}

TEST(BatchRun, DeleteWithoutBassDeletesBasslessAndZeroBytePartStylesOnly) {
    MixedFolder mixed;
    Home home;
    app::BatchJob job = JobOver(BatchMode::DeleteBassless, mixed);
    job.DryRun = true;
    app::BatchRun look(job, {.Paths = home.paths});
    RunAll(look);
    const std::vector<std::string> doomed = {mixed.bassless, mixed.zeroPart};
    EXPECT_EQ(look.Deleted(), doomed);
    EXPECT_TRUE(fs::exists(mixed.bassless));

    job.DryRun = false;
    app::BatchRun run(job, {.Paths = home.paths});
    RunAll(run);
    EXPECT_EQ(run.Deleted(), doomed);
    EXPECT_EQ(ErrorFiles(run), (std::vector<std::string>{mixed.damaged, mixed.empty}));
    EXPECT_FALSE(fs::exists(mixed.bassless));
    EXPECT_FALSE(fs::exists(mixed.zeroPart));
    for (const std::string& kept : {mixed.good, mixed.goodInSub, mixed.damaged, mixed.empty})
        EXPECT_TRUE(fs::exists(kept)) << kept;
}

TEST(BatchRun, NormalizeAndRefreshRewriteGoodStylesInPlaceAndLeaveBadOnesAlone) {
    for (const BatchMode mode : {BatchMode::Normalize, BatchMode::Refresh}) {
        SCOPED_TRACE(std::string(app::InfoOf(mode).Name));
        MixedFolder mixed;
        Home home;
        const auto damagedBefore = Bytes(mixed.damaged);
        const auto filesBefore = FilesIn(mixed.folder.Path());
        ASSERT_EQ(Volume(mixed.good, 10), 40);
        app::BatchRun run(JobOver(mode, mixed), {.Paths = home.paths});
        RunAll(run);
        EXPECT_EQ(ErrorFiles(run), (std::vector<std::string>{mixed.damaged, mixed.empty}));
        EXPECT_EQ(run.Written(), (std::vector<std::string>{mixed.good, mixed.bassless, mixed.zeroPart, mixed.goodInSub}));
        for (const std::string& path : run.Written()) {
            data::StyleImage image;
            std::vector<std::uint8_t> bytes;
            EXPECT_TRUE(ReadsAsStyle(path, image, bytes)) << path;
        }
        // Normalised to the creator's target: the bass moves up from 40, the drums near the target.
        EXPECT_GT(Volume(mixed.good, 10), 40);
        EXPECT_NEAR(Volume(mixed.good, 9), app::CreatorNormaliseTarget, 8);
        EXPECT_EQ(Bytes(mixed.damaged), damagedBefore);
        EXPECT_EQ(FilesIn(mixed.folder.Path()), filesBefore);   // no temporary file left behind
    }
}

TEST(BatchRun, AddBuildsPlaylistLinesWithFolderDescriptionsAndSavesTheList) {
    MixedFolder mixed;
    Home home;
    library::StylePlaylist playlist(home.paths);
    std::string error;
    ASSERT_TRUE(playlist.OpenCurrent("", error)) << error;
    playlist.List(library::StyleListKind::Playlist).Lines = {"/old/Gone.vxs|bpm100|4/4"};
    ASSERT_TRUE(playlist.SavePlaylist("", error)) << error;

    app::BatchJob job = JobOver(BatchMode::Add, mixed);
    job.Descriptions = app::DescriptionPolicy::FromFolder;
    job.ClearPlaylistFirst = true;
    app::BatchRun run(job, {.Paths = home.paths, .Playlist = &playlist});
    RunAll(run);
    EXPECT_EQ(ErrorFiles(run), (std::vector<std::string>{mixed.damaged, mixed.empty, mixed.zeroPart}));
    EXPECT_EQ(run.LinesChanged(), 3);

    const std::string listFile = home.paths.Lists() + "/StylePlayList.gen";
    std::vector<std::string> saved;
    ASSERT_TRUE(library::ReadListFile(listFile, saved, error)) << error;
    ASSERT_EQ(saved.size(), 3u);
    const std::string folderName = fs::path(mixed.folder.Path()).filename().string();
    const std::string folderDescription =
        std::string(1, static_cast<char>(std::toupper(folderName[0]))) + folderName.substr(1, 13);
    EXPECT_EQ(saved[0].rfind(mixed.good + "|bpm112|4/4|" + folderDescription + "||BASS|PIANOS", 0), 0u) << saved[0];
    EXPECT_NE(saved[2].find("|Pop ballads|"), std::string::npos) << saved[3];   // cut before "/vxs/"
    // The list before it was cleared is in its backup.
    std::vector<std::string> backup;
    ASSERT_TRUE(library::ReadListFile(library::BackupPathOf(listFile), backup, error)) << error;
    EXPECT_EQ(backup, std::vector<std::string>{"/old/Gone.vxs|bpm100|4/4"});
}

TEST(BatchRun, TagAddsInstrumentTagsToUntaggedLinesOnly) {
    MixedFolder mixed;
    Home home;
    library::StylePlaylist playlist(home.paths);
    playlist.NewPlaylist(home.paths.Lists() + "/Mine.txt");
    playlist.List(library::StyleListKind::Playlist).Lines = {mixed.good + "|bpm112|4/4|mine", mixed.bassless + "|bpm96|4/4||FXS", mixed.damaged + "|bpm???|4/4",
             "# a comment line"};
    std::vector<std::string> missing;
    app::BatchJob job;
    job.Mode = BatchMode::Tag;
    job.Inputs = app::BatchInputsFromPlaylist(playlist, BatchMode::Tag, &missing);
    EXPECT_EQ(job.Inputs, (std::vector<std::string>{mixed.good, mixed.bassless, mixed.damaged}));
    app::BatchRun run(job, {.Paths = home.paths, .Playlist = &playlist});
    RunAll(run);
    EXPECT_EQ(ErrorFiles(run), std::vector<std::string>{mixed.damaged});
    EXPECT_EQ(run.LinesChanged(), 1);
    const auto& after = playlist.List(library::StyleListKind::Playlist).Lines;
    EXPECT_EQ(after[0], mixed.good + "|bpm112|4/4|mine||BASS|PIANOS");
    EXPECT_EQ(after[1], mixed.bassless + "|bpm96|4/4||FXS");   // tagged before: left as it was
    EXPECT_EQ(after[3], "# a comment line");
    std::vector<std::string> saved;
    std::string error;
    ASSERT_TRUE(library::ReadListFile(home.paths.Lists() + "/Mine.txt", saved, error)) << error;
    EXPECT_EQ(saved, after);
}

TEST(BatchRun, AddWithoutAPlaylistOrConvertWithoutOutputFolderStopsAtOnceWithAReason) {
    MixedFolder mixed;
    Home home;
    app::BatchRun add(JobOver(BatchMode::Add, mixed), {.Paths = home.paths});
    EXPECT_FALSE(add.Step());
    EXPECT_TRUE(add.Progress().Stopped);
    EXPECT_EQ(add.StopReason(), "No style playlist to add to !");

    app::BatchJob convert;
    convert.Mode = BatchMode::Convert;
    convert.Inputs = {mixed.good};
    app::BatchRun run(convert, {.Paths = home.paths});
    EXPECT_FALSE(run.Step());
    EXPECT_EQ(run.StopReason(), "The output folder \"\" does not exist !");
    EXPECT_EQ(run.Progress().Done, 0);
}

TEST(BatchRun, CancelMidwayLeavesDoneFilesCompleteAndTheRestUntouched) {
    MixedFolder mixed;
    Home home;
    const auto job = JobOver(BatchMode::Normalize, mixed);
    std::vector<std::vector<std::uint8_t>> before;
    for (const std::string& path : job.Inputs) before.push_back(Bytes(path));
    app::BatchRun run(job, {.Paths = home.paths});
    ASSERT_TRUE(run.Step());
    ASSERT_TRUE(run.Step());
    ASSERT_TRUE(run.Step());   // damaged, empty, good
    run.Cancel();
    EXPECT_FALSE(run.Step());
    const app::BatchProgress progress = run.Progress();
    EXPECT_TRUE(progress.Finished);
    EXPECT_TRUE(progress.Cancelled);
    EXPECT_EQ(progress.Done, 3);
    EXPECT_EQ(progress.CurrentFile, mixed.good);
    EXPECT_EQ(run.Written(), std::vector<std::string>{mixed.good});
    EXPECT_NE(Bytes(mixed.good), before[2]);
    EXPECT_NEAR(Volume(mixed.good, 9), app::CreatorNormaliseTarget, 8);
    for (std::size_t i = 3; i < job.Inputs.size(); ++i) EXPECT_EQ(Bytes(job.Inputs[i]), before[i]) << job.Inputs[i];
    EXPECT_EQ(run.CountLine(), "3 of 6 files done, 2 errors (cancelled)");
}

// The file-size limit makes writes fail as a full disk does (EFBIG instead of ENOSPC).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(BatchRun, AFullDiskStopsTheRunWithStylesWrittenBeforeComplete) {
    TempFolder folder;
    Home home;
    StyleWithoutBass().Write(folder.File("A small.vxs"));
    StyleBuilder big = StyleWithBass();
    for (int i = 0; i < 400; ++i) big.Part(data::StylePart::Basic).Note(0, 60 + i % 12, 90, i % 96, 1);
    big.Write(folder.File("B big.vxs"));
    StyleWithoutBass().Write(folder.File("C small.vxs"));
    const auto bigBefore = Bytes(folder.File("B big.vxs"));
    const auto smallBefore = Bytes(folder.File("C small.vxs"));
    const auto smallSize = Bytes(folder.File("A small.vxs")).size();
    ASSERT_GT(bigBefore.size(), smallSize + 1000);

    app::BatchJob job;
    job.Mode = BatchMode::Normalize;
    job.Inputs = app::BatchInputsFromFolder(folder.Path(), BatchMode::Normalize);
    app::BatchRun run(job, {.Paths = home.paths});
    {
        FileSizeLimit limit(smallSize + 500);
        RunAll(run);
    }
    const app::BatchProgress progress = run.Progress();
    EXPECT_TRUE(progress.Stopped);
    EXPECT_EQ(progress.Done, 2);
    EXPECT_EQ(run.StopReason().rfind("The disk is full: B big.vxs was not written", 0), 0u) << run.StopReason();
    EXPECT_EQ(run.Written(), std::vector<std::string>{folder.File("A small.vxs")});
    EXPECT_NEAR(Volume(folder.File("A small.vxs"), 9), app::CreatorNormaliseTarget, 8);
    EXPECT_EQ(Bytes(folder.File("B big.vxs")), bigBefore);
    EXPECT_EQ(Bytes(folder.File("C small.vxs")), smallBefore);
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"A small.vxs", "B big.vxs", "C small.vxs"}));
}

}  // namespace
}  // namespace chordella::testing
