#include "base/TextFile.h"
#include "diary/DiaryFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::string Separators(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "\xFF\r\n";
    return text;
}

TDiaryEvent& Add(TDiaryDays& days, uint16_t slot, uint8_t locked, TEventType type, uint16_t time,
    const std::string& description)
{
    TEventLink& end = ListEnd(days[slot]);
    end = NewEvent();
    end->Locked = locked;
    end->EventType = type;
    end->Time = time;
    end->Description = description;
    return *end;
}

int CountEvents(const TDiaryDays& days)
{
    int n = 0;
    for (const TEventLink& head : days)
        for (const TDiaryEvent* e = head.get(); e; e = e->Next.get())
            ++n;
    return n;
}

TDiaryDays Parsed(std::string_view text)
{
    TDiaryDays days;
    ParseDiary(text, days);
    return days;
}

std::string ReadAll(const fs::path& path)
{
    std::string content;
    EXPECT_TRUE(ReadWholeFile(path, content));
    return content;
}

class DiaryFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "talvo-diary-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
    }
    void TearDown() override { fs::remove_all(Folder); }

    fs::path Folder;
    TIoError IoError;
};

} // namespace

TEST(DiaryFormat, AnEmptyDiaryIs384Separators)
{
    const TDiaryDays days;
    EXPECT_EQ(FormatDiary(days), Separators(384));
}

TEST(DiaryFormat, EventLinesPrecedeTheirSlotsSeparator)
{
    TDiaryDays days;
    Add(days, 0, 1, etBlank, 0, "Birthday");
    Add(days, 0, 0, etAlarm, 930, "Dentist");
    Add(days, DayIndex(2, 3), 0, etCrossed, 2359, "Tab\there");
    const std::string text = FormatDiary(days);
    const std::string expected = "100000Birthday\r\n010930Dentist\r\n\xFF\r\n" + Separators(33)
        + "032359Tab\there\r\n" + Separators(350);
    EXPECT_EQ(text, expected);
}

TEST(DiaryFormat, TheWorkedExampleLineReadsBack)
{
    const TDiaryDays days = Parsed("010930Dentist\r\n\xFF\r\n");
    ASSERT_NE(days[0], nullptr);
    EXPECT_EQ(days[0]->Locked, 0);
    EXPECT_EQ(days[0]->EventType, etAlarm);
    EXPECT_EQ(days[0]->Time, 930);
    EXPECT_EQ(days[0]->Description, "Dentist");
    EXPECT_EQ(days[0]->Next, nullptr);
    EXPECT_EQ(CountEvents(days), 1);
}

TEST(DiaryFormat, LineBreaksAndTheEndByteNeverReachTheFile)
{
    TDiaryDays days;
    Add(days, 5, 0, etAlarm, 800, "Call Bob\r\nabout the car");
    Add(days, 5, 0, etAlarm, 900, "Lone\nfeed");
    Add(days, 5, 0, etAlarm, 1000, "Old\rMac");
    Add(days, 5, 0, etAlarm, 1100, "Stop\x1Ahere");
    const TDiaryDays back = Parsed(FormatDiary(days));
    EXPECT_EQ(CountEvents(back), 4);
    std::vector<std::string> read;
    for (const TDiaryEvent* e = back[5].get(); e; e = e->Next.get())
        read.push_back(e->Description);
    EXPECT_EQ(read, (std::vector<std::string> { "Call Bob", "Lone", "Old", "Stop" }));
    EXPECT_EQ(FormatDiary(back), FormatDiary(days));
}

TEST(DiaryFormat, EveryKindOfLineEndEndsALineAndBlankLinesAreSkipped)
{
    const std::string crlf = "010930A\r\n\r\n\r\n100000B\r\n\xFF\r\n020100C\r\n\xFF\r\n";
    const std::string lf = "010930A\n\n100000B\n\xFF\n020100C\n\xFF\n";
    const std::string cr = "010930A\r\r100000B\r\xFF\r020100C\r\xFF";
    const std::string mixed = "010930A\n\r\n\r100000B\r\xFF\n\n020100C\r\n\xFF";
    const std::string expected = FormatDiary(Parsed(crlf));
    EXPECT_EQ(CountEvents(Parsed(crlf)), 3);
    EXPECT_EQ(Parsed(crlf)[1]->Description, "C");
    EXPECT_EQ(FormatDiary(Parsed(lf)), expected);
    EXPECT_EQ(FormatDiary(Parsed(cr)), expected);
    EXPECT_EQ(FormatDiary(Parsed(mixed)), expected);
}

TEST(DiaryFormat, TheEndByteEndsTheFile)
{
    const TDiaryDays days = Parsed("010930A\r\n\x1A"
                                   "010930B\r\n\xFF\r\n010930C\r\n");
    EXPECT_EQ(CountEvents(days), 1);
    EXPECT_EQ(days[0]->Description, "A");
    EXPECT_EQ(CountEvents(Parsed("0109\x1A"
                                 "30A\r\n")),
        1);
    EXPECT_EQ(Parsed("0109\x1A"
                     "30A\r\n")[0]
                  ->Time,
        9);
}

TEST(DiaryFormat, MalformedLinesReadWhatTheyCan)
{
    const TDiaryDays days = Parsed("1\r\n"
                                   "x\r\n"
                                   "2a\r\n"
                                   "1309:3Odd time\r\n"
                                   "01abcdText\r\n"
                                   "0112\r\n"
                                   "99-123Negative\r\n");
    std::vector<const TDiaryEvent*> e;
    for (const TDiaryEvent* p = days[0].get(); p; p = p->Next.get())
        e.push_back(p);
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[0]->Locked, 1);
    EXPECT_EQ(e[0]->EventType, etBlank);
    EXPECT_EQ(e[0]->Description, "");
    EXPECT_EQ(e[1]->Locked, 0);
    EXPECT_EQ(e[2]->Locked, 2);
    EXPECT_EQ(e[2]->EventType, etBlank);
    EXPECT_EQ(e[3]->Locked, 1);
    EXPECT_EQ(e[3]->EventType, etCrossed);
    EXPECT_EQ(e[3]->Time, 9);
    EXPECT_EQ(e[3]->Description, "Odd time");
    EXPECT_EQ(e[4]->Time, 0);
    EXPECT_EQ(e[5]->Time, 12);
    EXPECT_EQ(e[5]->Description, "");
    EXPECT_EQ(e[6]->Locked, 9);
    EXPECT_EQ(e[6]->EventType, 9);
    EXPECT_EQ(e[6]->Time, 0); // a negative time is no time
    EXPECT_EQ(e[6]->Description, "Negative");
    // Whatever was read is written as well-formed lines.
    const std::string again = FormatDiary(days);
    EXPECT_TRUE(FormatDiary(Parsed(again)) == again);
}

TEST(DiaryFormat, ExtraSeparatorsAreIgnoredAndMissingOnesLeaveSlotsEmpty)
{
    const TDiaryDays many
        = Parsed(Separators(383) + "000000Last\r\n" + Separators(5000) + "000000After\r\n");
    ASSERT_NE(many[383], nullptr);
    EXPECT_EQ(many[383]->Description, "Last");
    EXPECT_EQ(many[383]->Next->Description, "After");
    EXPECT_EQ(CountEvents(many), 2);

    const TDiaryDays few = Parsed(Separators(2) + "000000Third\r\n");
    ASSERT_NE(few[2], nullptr);
    EXPECT_EQ(CountEvents(few), 1);
    EXPECT_EQ(FormatDiary(few), Separators(2) + "000000Third\r\n" + Separators(382));
}

TEST(DiaryFormat, AnyBytesLoadAndFormatStably)
{
    // Long lines, no separators, nothing but separators, binary noise.
    EXPECT_EQ(CountEvents(Parsed(std::string(5'000'000, 'x'))), 1);
    EXPECT_EQ(Parsed(std::string(5'000'000, 'x'))[0]->Description.size(), 5'000'000u - 6);
    EXPECT_EQ(CountEvents(Parsed(std::string(200'000, '\xFF'))), 0);
    EXPECT_EQ(CountEvents(Parsed(std::string(200'000, '\n'))), 0);
    EXPECT_EQ(CountEvents(Parsed(std::string(1, '\0'))), 1);

    std::mt19937 random(20250310);
    const std::string alphabet = std::string("\r\n\xFF\x1A\t 0123459-:aZ\0", 18);
    for (int round = 0; round < 2000; ++round) {
        std::string noise(random() % 600, '\0');
        for (char& c : noise)
            c = random() % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        const std::string once = FormatDiary(Parsed(noise));
        // Compared whole, so a failure does not print 384 separator lines.
        ASSERT_TRUE(FormatDiary(Parsed(once)) == once) << "round " << round;
    }
}

TEST_F(DiaryFileTest, SaveLoadSaveGivesTheSameBytes)
{
    TDiaryDays days;
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) {
        std::string text(1 + random() % 40, ' ');
        for (char& c : text)
            c = static_cast<char>(32 + random() % 224);
        if (text[0] == ' ')
            text[0] = '#';
        Add(days, static_cast<uint16_t>(random() % 384), static_cast<uint8_t>(random() % 2),
            static_cast<TEventType>(random() % 4), static_cast<uint16_t>(random() % 2400),
            AnsiToUtf8(text + "\t\xE9"));
    }
    ASSERT_TRUE(SaveDiary(days, Folder, IoError));
    const std::string first = ReadAll(Folder / "DIARY.DAT");
    EXPECT_EQ(first, FormatDiary(days));

    TDiaryDays loaded;
    ASSERT_TRUE(LoadDiary(loaded, Folder, IoError));
    EXPECT_EQ(CountEvents(loaded), 3000);
    ASSERT_TRUE(SaveDiary(loaded, Folder, IoError));
    EXPECT_EQ(ReadAll(Folder / "DIARY.DAT"), first);
    EXPECT_FALSE(fs::exists(Folder / "DIARY.DAT.tmp"));
    EXPECT_FALSE(IoError.IoError());
}

TEST_F(DiaryFileTest, AMissingOrUnreadableFileLoadsAnEmptyDiary)
{
    TDiaryDays days;
    EXPECT_FALSE(LoadDiary(days, Folder, IoError));
    EXPECT_EQ(CountEvents(days), 0);
    EXPECT_FALSE(IoError.IoError()); // nothing left pending for the next file

    fs::create_directory(Folder / "DIARY.DAT");
    EXPECT_FALSE(LoadDiary(days, Folder, IoError));
    EXPECT_EQ(CountEvents(days), 0);
    fs::remove(Folder / "DIARY.DAT");

    // A pipe with no writer would block a plain open for ever.
    ASSERT_EQ(::mkfifo((Folder / "DIARY.DAT").c_str(), 0600), 0);
    EXPECT_FALSE(LoadDiary(days, Folder, IoError));
    EXPECT_EQ(CountEvents(days), 0);
}

TEST_F(DiaryFileTest, AFailedSaveKeepsThePreviousFile)
{
    TDiaryDays days;
    Add(days, 0, 0, etAlarm, 930, "Dentist");
    ASSERT_TRUE(SaveDiary(days, Folder, IoError));
    const std::string before = ReadAll(Folder / "DIARY.DAT");
    Add(days, 1, 0, etAlarm, 1000, "Not saved");

    // A folder where the temporary file would go stops even root.
    fs::create_directory(Folder / "DIARY.DAT.tmp");
    EXPECT_FALSE(SaveDiary(days, Folder, IoError));
    EXPECT_EQ(ReadAll(Folder / "DIARY.DAT"), before);
    EXPECT_FALSE(IoError.IoError());
    fs::remove(Folder / "DIARY.DAT.tmp");

    // A folder that does not exist.
    EXPECT_FALSE(SaveDiary(days, Folder / "missing", IoError));
    EXPECT_FALSE(fs::exists(Folder / "missing"));

    // The day table is still whole in memory and saves once the way is clear.
    ASSERT_TRUE(SaveDiary(days, Folder, IoError));
    EXPECT_EQ(ReadAll(Folder / "DIARY.DAT"), FormatDiary(days));
}

TEST_F(DiaryFileTest, AWriteThatFailsPartWayKeepsThePreviousFile)
{
    TDiaryDays days;
    Add(days, 0, 0, etAlarm, 930, "Dentist");
    ASSERT_TRUE(SaveDiary(days, Folder, IoError));
    const std::string before = ReadAll(Folder / "DIARY.DAT");
    for (int i = 0; i < 2000; ++i)
        Add(days, static_cast<uint16_t>(i % 300), 0, etAlarm, 1200, "A longer description");

    // Files may not grow past 4 KB for a moment: the write stops part-way,
    // for root as for anyone.
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved4k = SaveDiary(days, Folder, IoError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved4k);
    EXPECT_EQ(ReadAll(Folder / "DIARY.DAT"), before);
    EXPECT_FALSE(fs::exists(Folder / "DIARY.DAT.tmp"));
}

TEST(IoError, AFailureStaysUntilReset)
{
    TIoError io;
    EXPECT_FALSE(io.IoFailed());
    io.ReportFailure();
    EXPECT_FALSE(io.IoError()); // pending until someone asks
    EXPECT_TRUE(io.IoFailed());
    EXPECT_TRUE(io.IoFailed());
    EXPECT_TRUE(io.IoError());
    io.ResetIoError();
    EXPECT_FALSE(io.IoError());
    io.ReportFailure();
    io.ResetIoError(); // a pending failure is dropped too
    EXPECT_FALSE(io.IoFailed());
}

TEST(EventReportLine, JoinsDateTimeTypeAndDescriptionWithTabs)
{
    EXPECT_EQ(
        EventReportLine(5, 3, 2024, "Dentist", etAlarm, 930), "05 Mar 2024\t09:30\tAlarm\tDentist");
    EXPECT_EQ(
        EventReportLine(28, 9, 2025, "Gym", etCrossed, 1800), "28 Sep 2025\t18:00\tCanned\tGym");
    EXPECT_EQ(EventReportLine(1, 12, 2024, "Pay rent", etTicked, 5),
        "01 Dec 2024\t00:05\tDone\tPay rent");
    EXPECT_EQ(EventReportLine(17, 11, 2024, "Note", etBlank, 0), "17 Nov 2024\t\t\tNote");
    EXPECT_EQ(EventReportLine(2, 1, 2025, "a\tb", etBlank, 0), "02 Jan 2025\t\t\ta\tb");
    EXPECT_EQ(
        EventReportLine(2, 1, 2025, "Odd", static_cast<TEventType>(8), 0), "02 Jan 2025\t\t\tOdd");
}

TEST_F(DiaryFileTest, PurgedEventsAreAppendedToTheLog)
{
    const fs::path log = Folder / "DiaryOld.txt";
    ASSERT_TRUE(AppendDiaryOld(Folder, { EventReportLine(5, 3, 2024, "Dentist", etAlarm, 930) }));
    EXPECT_EQ(ReadAll(log), "05 Mar 2024\t09:30\tAlarm\tDentist\r\n");
    ASSERT_TRUE(AppendDiaryOld(Folder, { "second", "third\r\ntail", "" }));
    EXPECT_EQ(ReadAll(log), "05 Mar 2024\t09:30\tAlarm\tDentist\r\nsecond\r\nthird\r\n\r\n");
    EXPECT_FALSE(AppendDiaryOld(Folder / "missing", { "lost" }));
}

TEST_F(DiaryFileTest, OnlyDataAfterTheEndByteMakesTheLoadStopEarly)
{
    const struct {
        std::string Text;
        bool StoppedEarly;
    } cases[] = {
        { "010930Dentist\r\n" + Separators(384) + "\x1A", false },
        { "010930Dentist\r\n" + Separators(384) + "\x1A\x1A\r\n", false },
        { "010930Dentist\r\n\x1A" + Separators(384), true },
        { "01\x1A"
          "0930Dentist\r\n",
            true },
    };
    for (const auto& c : cases) {
        std::ofstream(Folder / "DIARY.DAT", std::ios::binary | std::ios::trunc) << c.Text;
        TDataFile file(Folder / "DIARY.DAT");
        TDiaryDays days;
        EXPECT_TRUE(LoadDiary(days, file, IoError));
        EXPECT_EQ(file.LoadEnd(), c.StoppedEarly ? TDataFile::leStoppedEarly : TDataFile::leWhole)
            << c.Text;
    }
}

TEST_F(DiaryFileTest, ATimeOf9999ComesBackAs9999)
{
    std::ofstream(Folder / "DIARY.DAT", std::ios::binary) << "009999Odd\r\n" + Separators(384);
    TDiaryDays days;
    ASSERT_TRUE(LoadDiary(days, Folder, IoError));
    ASSERT_TRUE(days[0]);
    EXPECT_EQ(days[0]->Time, 9999);
    ASSERT_TRUE(SaveDiary(days, Folder, IoError));
    EXPECT_EQ(ReadAll(Folder / "DIARY.DAT").substr(0, 11), "009999Odd\r\n");
}

TEST(DiaryFormat, BlocksGiveTheWholeTextAndItsDigest)
{
    // Lines that end on, straddle and outgrow the block boundaries.
    TDiaryDays days;
    std::mt19937 random(11);
    for (int i = 0; i < 9000; ++i)
        Add(days, static_cast<uint16_t>(random() % 384), 0, etAlarm, 930,
            std::string(random() % 50, 'x') + (i % 997 ? "" : "\r\ncut"));
    Add(days, 7, 1, etTicked, 0, std::string(DiaryBlockSize * 2 + 5, 'L'));
    const std::string whole = FormatDiary(days);
    std::string joined;
    std::vector<size_t> sizes;
    FormatDiaryBlocks(days, [&](std::string_view block) {
        joined += block;
        sizes.push_back(block.size());
        return true;
    });
    ASSERT_TRUE(joined == whole);
    ASSERT_GE(sizes.size(), 5u);
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), DiaryBlockSize), sizes.size() - 1);
    EXPECT_EQ(DiaryDigest(days), DiaryTextDigest(whole));
    days[3]->Time = 931;
    EXPECT_NE(DiaryDigest(days), DiaryTextDigest(whole));

    int calls = 0;
    FormatDiaryBlocks(days, [&](std::string_view) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);
}

TEST_F(DiaryFileTest, OnlyAFileHoldingTheDiaryExactlyLeavesItUnchanged)
{
    TDiaryDays days;
    for (int i = 0; i < 5000; ++i)
        Add(days, static_cast<uint16_t>(i % 383), 0, etBlank, 1200, "Event " + std::to_string(i));
    ASSERT_TRUE(SaveDiary(days, Folder, IoError));
    const std::string text = ReadAll(Folder / "DIARY.DAT");
    TDataFile file(Folder / "DIARY.DAT");
    TDiaryDays loaded;
    ASSERT_TRUE(LoadDiary(loaded, file, IoError));
    EXPECT_EQ(UnchangedDiaryDigest(loaded, file), DiaryTextDigest(text));

    // One changed event, the same events with other line ends, a file cut short.
    const std::string original = loaded[382]->Description;
    loaded[382]->Description = original + '!';
    EXPECT_EQ(UnchangedDiaryDigest(loaded, file), std::nullopt);
    loaded[382]->Description = original;
    std::string lf = text;
    std::erase(lf, '\r');
    const std::string others[] = { lf, text.substr(0, text.size() - 1), text + "\r\n" };
    for (const std::string& other : others) {
        std::ofstream(Folder / "DIARY.DAT", std::ios::binary | std::ios::trunc) << other;
        EXPECT_EQ(UnchangedDiaryDigest(loaded, file), std::nullopt);
    }
    fs::remove(Folder / "DIARY.DAT");
    EXPECT_EQ(UnchangedDiaryDigest(loaded, file), std::nullopt);

    // A load that stopped early is saved, whatever the file holds.
    std::ofstream(Folder / "DIARY.DAT", std::ios::binary) << text;
    ASSERT_TRUE(LoadDiary(loaded = TDiaryDays(), file, IoError));
    file.StoppedEarly();
    EXPECT_EQ(UnchangedDiaryDigest(loaded, file), std::nullopt);
}

namespace
{

// A disk whose reads fail from byte `At` of the file on.
template <off_t At> ssize_t FailingFrom(int fd, void* buffer, size_t size)
{
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at >= At) {
        errno = EIO;
        return -1;
    }
    return ::read(fd, buffer, std::min(size, static_cast<size_t>(At - at)));
}

// 600 events of every length up to 60 characters, over every slot.
TDiaryDays ManyEvents()
{
    TDiaryDays days;
    for (int i = 0; i < 600; ++i)
        Add(days, static_cast<uint16_t>(i * 7 % 383), static_cast<uint8_t>(i % 2),
            static_cast<TEventType>(i % 4), static_cast<uint16_t>(i % 2400),
            std::string(i % 61, static_cast<char>('A' + i % 26)));
    return days;
}

} // namespace

TEST_F(DiaryFileTest, PiecesOfAnySizeLoadAsTheWholeText)
{
    const std::string saved = FormatDiary(ManyEvents());
    std::string lf = saved;
    std::erase(lf, '\r');
    const struct {
        std::string Text;
        bool StoppedEarly;
    } texts[] = {
        { saved, false },
        { lf, false },
        { "010930A\r\r\n\n100000B\r" + std::string(300, 'L') + "\n\xFF\r\n\r", false },
        { "010930A\r\n000000No break at the end", false },
        { "010930A\r\n0109\x1A", false },
        { "010930A\r\n0109\x1A\r\n\x1A\x1A\n\x1A", false },
        { "010930A\r\n0109\x1A" + std::string(200, '\n') + "x", true },
        { "010930A\r\n0109\x1A\x1A" + saved, true },
    };
    for (const auto& t : texts) {
        const std::string expected = FormatDiary(Parsed(t.Text));
        std::ofstream(Folder / "DIARY.DAT", std::ios::binary | std::ios::trunc) << t.Text;
        for (const size_t pieceSize : { 1, 3, 7, 64, 4096, 65536 }) {
            TDataFile file(Folder / "DIARY.DAT");
            TDiaryDays days;
            EXPECT_TRUE(LoadDiary(days, file, IoError, pieceSize));
            ASSERT_TRUE(FormatDiary(days) == expected) << t.Text.substr(0, 30) << " " << pieceSize;
            EXPECT_EQ(
                file.LoadEnd(), t.StoppedEarly ? TDataFile::leStoppedEarly : TDataFile::leWhole);
        }
    }
    EXPECT_TRUE(FormatDiary(Parsed(saved)) == saved);
}

TEST_F(DiaryFileTest, AReadErrorPartWayKeepsTheEventsReadBeforeIt)
{
    const std::string text = FormatDiary(ManyEvents());
    std::ofstream(Folder / "DIARY.DAT", std::ios::binary) << text;
    const struct {
        TReadCall Read;
        size_t At;
    } cases[]
        = { { FailingFrom<0>, 0 }, { FailingFrom<1000>, 1000 }, { FailingFrom<20011>, 20011 } };
    for (const auto& c : cases) {
        TDataFile file(Folder / "DIARY.DAT", c.Read);
        TDiaryDays days;
        EXPECT_FALSE(LoadDiary(days, file, IoError, 1000));
        EXPECT_EQ(file.LoadEnd(), TDataFile::leReadError);
        EXPECT_TRUE(FormatDiary(days) == FormatDiary(Parsed(text.substr(0, c.At)))) << c.At;
        EXPECT_FALSE(UnchangedDiaryDigest(days, file).has_value());
        EXPECT_FALSE(IoError.IoError());
    }
}

TEST_F(DiaryFileTest, AFileChangedBetweenTheSweepsLoadsAsTheSecondReadIt)
{
    const std::string small = "010930Dentist\r\n" + Separators(384);
    const std::string big = FormatDiary(ManyEvents());
    const struct {
        std::string First;
        std::optional<std::string> Second; // none: removed
        TDataFile::TLoadEnd End;
    } cases[] = {
        { small, big, TDataFile::leWhole },
        { big, small, TDataFile::leWhole },
        { big, "", TDataFile::leWhole },
        { small, small + "\x1A" + big, TDataFile::leStoppedEarly },
        { big, std::nullopt, TDataFile::leMissing },
    };
    for (const auto& c : cases) {
        const fs::path path = Folder / "DIARY.DAT";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.First;
        TDataFile file(path);
        TDiaryDays days;
        const bool loaded = LoadDiary(days, file, IoError, 4096, [&] {
            if (c.Second)
                std::ofstream(path, std::ios::binary | std::ios::trunc) << *c.Second;
            else
                fs::remove(path);
        });
        EXPECT_EQ(loaded, c.Second.has_value());
        EXPECT_EQ(file.LoadEnd(), c.End);
        const std::string second = c.Second.value_or("");
        EXPECT_TRUE(FormatDiary(days) == FormatDiary(Parsed(second)));
        // Only a file read whole, and holding what was read, needs no save.
        EXPECT_EQ(UnchangedDiaryDigest(days, file).has_value(),
            c.End == TDataFile::leWhole && FormatDiary(days) == second);
    }
}

namespace
{

// Text from many scripts, with combining marks, right-to-left text and emoji
// sequences joined by ZWJ or given a skin tone.
const std::vector<std::string> Scripts = { "Zoë café 10€ Łódź ŠŽ œ", "Αθήνα ΣΊΣΥΦΟΣ ς",
    "Москва Ёлка", "שלום עולם", "مرحبا بالعالم", "नमस्ते दुनिया", "東京 北京 서울 とうきょう",
    "👍🏽 👩‍👩‍👧‍👦 🏳️‍🌈", "e\u0301 a\u0308 Å" };

} // namespace

TEST_F(DiaryFileTest, TextOfEveryScriptRoundTripsAsUtf8)
{
    TDiaryDays days;
    for (size_t i = 0; i < Scripts.size(); ++i)
        Add(days, static_cast<uint16_t>(i * 40), 0, etAlarm, 930, Scripts[i]);
    TDataFile file(Folder / "DIARY.DAT");
    ASSERT_EQ(SaveDataText(FormatDiary(days, file.Form()), file, IoError, 0), TDataFile::srSaved);
    EXPECT_TRUE(file.TakeFormNotice());
    EXPECT_FALSE(file.TakeFormNotice());
    const std::string saved = ReadAll(Folder / "DIARY.DAT");
    EXPECT_TRUE(saved.starts_with("\xEF\xBB\xBF"
                                  "010930Zoë café"));

    // Read in pieces of one byte too: the mark is told even when it is split.
    for (const size_t piece : { DiaryBlockSize, size_t { 1 } }) {
        TDiaryDays loaded;
        TDataFile again(Folder / "DIARY.DAT");
        ASSERT_TRUE(LoadDiary(loaded, again, IoError, piece));
        EXPECT_EQ(again.Form(), tfUtf8);
        EXPECT_FALSE(again.KeepsOriginal());
        for (size_t i = 0; i < Scripts.size(); ++i)
            EXPECT_EQ(loaded[i * 40]->Description, Scripts[i]) << piece;
        EXPECT_EQ(FormatDiary(loaded, again.Form()), saved);
    }
}

TEST_F(DiaryFileTest, TheFileTurnsUtf8OnlyForACharacterWindows1252HasNot)
{
    TDiaryDays days;
    Add(days, 0, 0, etBlank, 0, "Zoë café 10€ “ok” ÿ");
    TDataFile file(Folder / "DIARY.DAT");
    ASSERT_EQ(SaveDataText(FormatDiary(days, file.Form()), file, IoError, 0), TDataFile::srSaved);
    EXPECT_EQ(ReadAll(Folder / "DIARY.DAT"),
        "000000Zo\xEB caf\xE9 10\x80 \x93ok\x94 \xFF\r\n" + Separators(384));
    EXPECT_EQ(file.Form(), tfAnsi);
    EXPECT_FALSE(file.TakeFormNotice());

    Add(days, 1, 0, etBlank, 0, "Łódź");
    ASSERT_EQ(SaveDataText(FormatDiary(days, file.Form()), file, IoError, 0), TDataFile::srSaved);
    EXPECT_TRUE(ReadAll(Folder / "DIARY.DAT")
                    .starts_with("\xEF\xBB\xBF"
                                 "000000Zoë"));
    EXPECT_TRUE(file.TakeFormNotice());

    // Once UTF-8, it stays so when the text would fit again, through a load.
    days[1].reset();
    TDataFile loaded(Folder / "DIARY.DAT");
    TDiaryDays kept;
    ASSERT_TRUE(LoadDiary(kept, loaded, IoError));
    EXPECT_EQ(DiaryForm(days, loaded.Form()), tfUtf8);
    EXPECT_EQ(DiaryForm(days, tfAnsi), tfAnsi);
}

TEST_F(DiaryFileTest, BytesOfAUtf8FileThatAreNotUtf8AreShownAndTheOriginalKept)
{
    const std::string bad = "\xEF\xBB\xBF"
                            "010930Caf\xE9 \xC3\r\n"
        + Separators(384);
    std::ofstream(Folder / "DIARY.DAT", std::ios::binary) << bad;
    TDiaryDays days;
    TDataFile file(Folder / "DIARY.DAT");
    EXPECT_TRUE(LoadDiary(days, file, IoError));
    EXPECT_EQ(days[0]->Description, "Caf\uFFFD \uFFFD");
    EXPECT_EQ(file.LoadEnd(), TDataFile::leInvalidText);
    EXPECT_TRUE(file.TakeNotice());
    ASSERT_EQ(SaveDataText(FormatDiary(days, file.Form()), file, IoError, 0), TDataFile::srSaved);
    EXPECT_EQ(ReadAll(file.BackupPath()), bad);
    EXPECT_TRUE(ReadAll(Folder / "DIARY.DAT")
                    .starts_with("\xEF\xBB\xBF"
                                 "010930Caf\uFFFD"));
}

TEST_F(DiaryFileTest, ThePurgeLogTurnsUtf8WithItsEarlierLinesConverted)
{
    ASSERT_TRUE(AppendDiaryOld(Folder, { "01 Jan 2024\t\t\tcafé" }));
    EXPECT_EQ(ReadAll(Folder / "DiaryOld.txt"), "01 Jan 2024\t\t\tcaf\xE9\r\n");
    ASSERT_TRUE(AppendDiaryOld(Folder, { "02 Jan 2024\t\t\t東京 😀" }));
    ASSERT_TRUE(AppendDiaryOld(Folder, { "03 Jan 2024\t\t\tplain" }));
    EXPECT_EQ(ReadAll(Folder / "DiaryOld.txt"),
        "\xEF\xBB\xBF"
        "01 Jan 2024\t\t\tcafé\r\n02 Jan 2024\t\t\t東京 😀\r\n"
        "03 Jan 2024\t\t\tplain\r\n");
}
