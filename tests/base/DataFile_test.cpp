#include "base/DataFile.h"
#include "base/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const TDateTime Now = EncodeDate(2026, 12, 8) + EncodeTime(22, 30);

class DataFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "talvo-data-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
    }
    void TearDown() override
    {
        fs::permissions(Folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(Folder);
    }
    void Write(const fs::path& path, const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string Read(const fs::path& path)
    {
        std::string content;
        EXPECT_TRUE(ReadWholeFile(path, content)) << path;
        return content;
    }
    // The folder's names other than the given ones.
    std::vector<std::string> Others(std::initializer_list<std::string> known)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder)) {
            const std::string name = entry.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end())
                names.push_back(name);
        }
        return names;
    }

    fs::path Folder;
};

} // namespace

TEST_F(DataFile, AMissingFileLoadsEmptyAndIsCreatedByTheSave)
{
    TDataFile file(Folder / "DIARY.DAT");
    std::string content = "stale";
    EXPECT_TRUE(file.Read(content));
    EXPECT_EQ(content, "");
    EXPECT_EQ(file.LoadEnd(), TDataFile::leMissing);
    EXPECT_FALSE(file.TakeNotice());
    EXPECT_EQ(file.Save("new", Now), TDataFile::srSaved);
    EXPECT_EQ(Read(Folder / "DIARY.DAT"), "new");
    EXPECT_TRUE(Others({ "DIARY.DAT" }).empty());
}

TEST_F(DataFile, ALoadThatStoppedEarlyIsToldOnceAndKeptBeforeTheFirstSaveOnly)
{
    Write(Folder / "DIARY.DAT", "read\x1Aunread");
    TDataFile file(Folder / "DIARY.DAT");
    std::string content;
    ASSERT_TRUE(file.Read(content));
    file.StoppedEarly();
    EXPECT_TRUE(file.TakeNotice());
    EXPECT_FALSE(file.TakeNotice());
    const fs::path backup = Folder / "DIARY.DAT.2026-12-08.bak";
    EXPECT_EQ(file.BackupPathFor(Now), backup);

    EXPECT_EQ(file.Save("first", Now), TDataFile::srSaved);
    EXPECT_EQ(file.BackupPath(), backup);
    EXPECT_EQ(Read(backup), "read\x1Aunread");
    EXPECT_EQ(file.Save("second", Now), TDataFile::srSaved);
    EXPECT_EQ(Read(Folder / "DIARY.DAT"), "second");
    EXPECT_EQ(Read(backup), "read\x1Aunread");

    // A new load that stops early again keeps a second copy, under a free name.
    ASSERT_TRUE(file.Read(content));
    file.StoppedEarly();
    EXPECT_EQ(file.Save("third", Now), TDataFile::srSaved);
    EXPECT_EQ(file.BackupPath(), Folder / "DIARY.DAT.2026-12-08-2.bak");
    EXPECT_EQ(Read(file.BackupPath()), "second");
}

TEST_F(DataFile, AFileThatCannotBeReadIsNeitherKeptNorReplaced)
{
    // A folder in the file's place: no read, no copy, no save.
    fs::create_directory(Folder / "DIARY.DAT");
    TDataFile file(Folder / "DIARY.DAT");
    std::string content;
    EXPECT_FALSE(file.Read(content));
    EXPECT_EQ(file.LoadEnd(), TDataFile::leReadError);
    EXPECT_TRUE(file.TakeNotice());
    EXPECT_EQ(file.Save("x", Now), TDataFile::srFailed);
    EXPECT_TRUE(fs::is_directory(Folder / "DIARY.DAT"));
    EXPECT_TRUE(Others({ "DIARY.DAT" }).empty());
    file.StoppedEarly();
    EXPECT_EQ(file.LoadEnd(), TDataFile::leReadError);

    // A plain file where a folder should be: a read error too, not a missing file.
    Write(Folder / "plain", "x");
    TDataFile under(Folder / "plain" / "DIARY.DAT");
    EXPECT_FALSE(under.Read(content));
    EXPECT_EQ(under.LoadEnd(), TDataFile::leReadError);
}

TEST_F(DataFile, ASaveGoesThroughSymbolicLinksAndKeepsHardLinksAndRights)
{
    fs::create_directory(Folder / "real");
    Write(Folder / "real" / "diary", "old");
    fs::permissions(Folder / "real" / "diary", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/diary", Folder / "DIARY.DAT");
    fs::create_hard_link(Folder / "real" / "diary", Folder / "second-name");

    TDataFile file(Folder / "DIARY.DAT");
    std::string content;
    ASSERT_TRUE(file.Read(content));
    EXPECT_EQ(content, "old");
    EXPECT_EQ(file.Save("new and longer", Now), TDataFile::srSaved);
    EXPECT_TRUE(fs::is_symlink(Folder / "DIARY.DAT"));
    EXPECT_EQ(Read(Folder / "second-name"), "new and longer");
    EXPECT_FALSE(fs::exists(RewriteJournalFor(Folder / "real" / "diary")));
    EXPECT_EQ(file.Save("short", Now), TDataFile::srSaved);
    EXPECT_EQ(Read(Folder / "real" / "diary"), "short");
    EXPECT_EQ(fs::status(Folder / "real" / "diary").permissions(),
        fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(Others({ "DIARY.DAT", "real", "second-name" }).empty());

    // Without the hard link the save is atomic through the link, beside the real file.
    fs::remove(Folder / "second-name");
    EXPECT_EQ(file.Save("renamed into place", Now), TDataFile::srSaved);
    EXPECT_EQ(Read(Folder / "DIARY.DAT"), "renamed into place");
    EXPECT_EQ(fs::status(Folder / "real" / "diary").permissions(),
        fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder / "real"), fs::directory_iterator()), 1);

    // A link to a file not made yet makes it.
    fs::create_symlink("real/later", Folder / "NOTES.DAT");
    TDataFile notes(Folder / "NOTES.DAT");
    EXPECT_EQ(notes.Save("notes", Now), TDataFile::srSaved);
    EXPECT_EQ(Read(Folder / "real" / "later"), "notes");
}

TEST_F(DataFile, ALoadFinishesARewriteInPlaceThatWasCutShort)
{
    // What a kill leaves: the new content whole beside the file, half of it in the file.
    const std::string fresh = "new \xE9 content\r\n", stale = "old content, longer\r\n";
    Write(Folder / "real", fresh.substr(0, 6) + stale.substr(6));
    fs::create_hard_link(Folder / "real", Folder / "NOTES.DAT");
    Write(RewriteJournalFor(Folder / "real"), fresh);
    fs::create_symlink("real", Folder / "link");
    TDataFile file(Folder / "link");
    std::string content;
    ASSERT_TRUE(file.Read(content));
    EXPECT_EQ(content, fresh);
    EXPECT_EQ(Read(Folder / "NOTES.DAT"), fresh);
    EXPECT_EQ(fs::hard_link_count(Folder / "real"), 2u);
    EXPECT_TRUE(Others({ "real", "NOTES.DAT", "link" }).empty());

    // A file that is gone gets the copy's content; piece by piece as well.
    fs::remove(Folder / "real");
    Write(RewriteJournalFor(Folder / "real"), "kept");
    std::string pieces;
    char buffer[3];
    ASSERT_TRUE(file.ReadPieces(buffer, [&](std::string_view piece) { pieces += piece; }));
    EXPECT_EQ(pieces, "kept");
    EXPECT_TRUE(Others({ "real", "NOTES.DAT", "link" }).empty());

    // A copy older than a save that went through in full is dropped by it.
    Write(RewriteJournalFor(Folder / "real"), "stale");
    ASSERT_EQ(file.Save("saved", Now), TDataFile::srSaved);
    ASSERT_TRUE(file.Read(content));
    EXPECT_EQ(content, "saved");
    EXPECT_TRUE(Others({ "real", "NOTES.DAT", "link" }).empty());
}

TEST_F(DataFile, AKillDuringTheSaveOfAHardLinkedFileLeavesTheOldOrTheNewContent)
{
    // Lines that tell the two contents apart wherever a piece of one ends.
    auto content = [](char letter) {
        std::string text;
        for (int i = 0; text.size() < 8'000'000; ++i)
            text += std::string(1, letter) + std::to_string(i) + " caf\xE9 \t-1\r\n";
        return text;
    };
    const std::string old = content('o'), fresh = content('n');
    const fs::path path = Folder / "NOTES.DAT";
    // Saves in a child, killed after `delay` unless it is negative; the time the save took.
    auto saveInChild = [&](std::chrono::microseconds delay) {
        fs::remove(Folder / "second");
        Write(path, old);
        fs::create_hard_link(path, Folder / "second");
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            TDataFile file(path);
            ::_exit(file.Save(fresh, Now) == TDataFile::srSaved ? 0 : 1);
        }
        if (delay.count() >= 0) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return std::chrono::steady_clock::now() - start;
    };
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        saveInChild(std::chrono::microseconds(-1)));
    ASSERT_EQ(Read(path), fresh);
    constexpr int Kills = 24;
    int old_seen = 0, fresh_seen = 0;
    for (int k = 0; k < Kills; ++k) {
        saveInChild(whole * k / Kills);
        TDataFile file(path);
        std::string loaded;
        ASSERT_TRUE(file.Read(loaded));
        ASSERT_TRUE(loaded == old || loaded == fresh)
            << "kill " << k << " of " << Kills << ": " << loaded.size() << " bytes, "
            << std::count(loaded.begin(), loaded.end(), 'n') << " of the new lines' letters";
        EXPECT_EQ(Read(Folder / "second"), loaded);
        (loaded == old ? old_seen : fresh_seen)++;
    }
    EXPECT_GT(old_seen + fresh_seen, 0);
}

TEST_F(DataFile, AReadOnlyFileIsAFailedSaveNotAReplacement)
{
    Write(Folder / "DIARY.DAT", "kept");
    fs::permissions(Folder / "DIARY.DAT", fs::perms::owner_read | fs::perms::group_read);
    TDataFile file(Folder / "DIARY.DAT");
    EXPECT_EQ(file.Save("lost", Now), TDataFile::srReadOnly);
    EXPECT_EQ(Read(Folder / "DIARY.DAT"), "kept");
    EXPECT_TRUE(Others({ "DIARY.DAT" }).empty());
}

TEST_F(DataFile, NoOriginalKeptMeansNoSave)
{
    Write(Folder / "DIARY.DAT", "read\x1Aunread");
    TDataFile file(Folder / "DIARY.DAT");
    std::string content;
    ASSERT_TRUE(file.Read(content));
    file.StoppedEarly();
    // The copy's name is taken by a folder that cannot be replaced.
    fs::create_directory(Folder / "DIARY.DAT.2026-12-08.bak.tmp");
    EXPECT_EQ(file.Save("new", Now), TDataFile::srNoBackup);
    EXPECT_EQ(Read(Folder / "DIARY.DAT"), "read\x1Aunread");
    EXPECT_TRUE(file.KeepsOriginal());
}

TEST_F(DataFile, OnlyAFileReadWholeThatHoldsExactlyTheTextNeedsNoSave)
{
    const std::string text = "line one\r\nline two\r\n";
    TDataFile file(Folder / "DIARY.DAT");
    std::string content;
    EXPECT_FALSE(file.Holds(text)); // missing
    const struct {
        std::string OnDisk;
        bool Holds;
    } cases[] = {
        { text, true },
        { text + "\r\n", false },
        { text.substr(0, text.size() - 1), false },
        { "line one\r\nline twO\r\n", false },
        { "", false },
    };
    for (const auto& c : cases) {
        Write(Folder / "DIARY.DAT", c.OnDisk);
        ASSERT_TRUE(file.Read(content));
        EXPECT_EQ(file.Holds(text), c.Holds) << c.OnDisk;
    }
    Write(Folder / "DIARY.DAT", "");
    ASSERT_TRUE(file.Read(content));
    EXPECT_TRUE(file.Holds(""));

    // Pieces of any size compare as the whole.
    Write(Folder / "DIARY.DAT", text);
    TFileComparison pieces(Folder / "DIARY.DAT");
    EXPECT_TRUE(pieces.Next("line") && pieces.Next("") && pieces.Next(" one\r\nline two\r"));
    EXPECT_FALSE(pieces.Same());
    EXPECT_TRUE(TFileComparison(Folder / "DIARY.DAT").Next(text));

    // A load that stopped early always saves, so the original is kept first.
    ASSERT_TRUE(file.Read(content));
    file.StoppedEarly();
    EXPECT_FALSE(file.Holds(text));
    EXPECT_EQ(file.Save(text, Now), TDataFile::srSaved);
    EXPECT_EQ(Read(file.BackupPath()), text);
    EXPECT_TRUE(file.Holds(text));

    // A folder in the file's place holds nothing.
    fs::remove(Folder / "DIARY.DAT");
    fs::create_directory(Folder / "DIARY.DAT");
    EXPECT_FALSE(TFileComparison(Folder / "DIARY.DAT").Same());
}

namespace
{

// A disk whose reads fail from the file's fifth byte on.
ssize_t FailingFrom5(int fd, void* buffer, size_t size)
{
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at >= 5) {
        errno = EIO;
        return -1;
    }
    return ::read(fd, buffer, std::min(size, static_cast<size_t>(5 - at)));
}

} // namespace

TEST_F(DataFile, APieceByPieceLoadEndsAsAWholeOne)
{
    using TPieces = std::vector<std::string>;
    const struct {
        const char* Content; // null: missing
        TReadCall Read;
        TPieces Pieces;
        TDataFile::TLoadEnd End;
    } cases[] = {
        { "one\r\ntwo\r\nthree", SystemRead, { "one\r", "\ntwo", "\r\nth", "ree" },
            TDataFile::leWhole },
        { "", SystemRead, {}, TDataFile::leWhole },
        { nullptr, SystemRead, {}, TDataFile::leMissing },
        { "one\r\ntwo\r\nthree", FailingFrom5, { "one\r", "\n" }, TDataFile::leReadError },
    };
    for (const auto& c : cases) {
        fs::remove(Folder / "DIARY.DAT");
        if (c.Content)
            Write(Folder / "DIARY.DAT", c.Content);
        TDataFile file(Folder / "DIARY.DAT", c.Read);
        const bool read = c.End != TDataFile::leReadError;
        char buffer[4];
        TPieces pieces;
        const auto take = [&pieces](std::string_view piece) { pieces.emplace_back(piece); };
        EXPECT_EQ(file.ReadPieces(buffer, take), read);
        EXPECT_EQ(pieces, c.Pieces);
        EXPECT_EQ(file.LoadEnd(), c.End);
        // A look ahead reads the same and leaves the load as it ended.
        pieces.clear();
        EXPECT_EQ(file.Scan(buffer, take), c.End == TDataFile::leWhole);
        EXPECT_EQ(pieces, c.Pieces);
        EXPECT_EQ(file.LoadEnd(), c.End);
        // So does the whole-file read.
        std::string content;
        EXPECT_EQ(file.Read(content), read);
        EXPECT_EQ(content, std::accumulate(pieces.begin(), pieces.end(), std::string()));
        EXPECT_EQ(file.LoadEnd(), c.End);
    }
}
