#include "base/TextFile.h"
#include "notes/NotesFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace
{

const std::string Widths64 = "0064006400640064006400640064006400640064";

std::string Header(
    char level, char view, const std::string& name, const std::string& widths = Widths64)
{
    return std::string("\xFF") + level + view + widths + name + "\r\n";
}

// "name(lines)[children]" per category, depth first, to compare shapes.
std::string Shape(const TNotesTree& tree)
{
    std::ostringstream out;
    for (const TNoteNode* n = tree.Root(); n; n = tree.NextInOrder(*n)) {
        out << TNotesTree::Depth(*n) << ':' << n->Name;
        if (n->Data)
            for (const std::string_view line : n->Data->Lines)
                out << '|' << line;
        out << ';';
    }
    return out.str();
}

class NotesFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Folder = std::filesystem::temp_directory_path()
            / ("notes_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    void WriteFile(const std::string& bytes)
    {
        std::ofstream(Folder / NotesFileName, std::ios::binary) << bytes;
    }
    std::string ReadFile()
    {
        std::ifstream in(Folder / NotesFileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path Folder;
    TIoError IoError;
};

} // namespace

TEST_F(NotesFolder, FirstStartGivesTheDefaultTreeAndSavesEightHeaders)
{
    TNotesTree tree;
    EXPECT_TRUE(LoadNotes(tree, Folder, IoError));
    EXPECT_EQ(Shape(tree),
        "1:My Notes;2:@Address Books;3:Business;3:Services;3:Personal;2:@To Do;3:Work;3:Home;");
    EXPECT_FALSE(tree.Root()->Data);
    ASSERT_TRUE(SaveNotes(tree, Folder, IoError));
    EXPECT_EQ(ReadFile(),
        Header('1', '0', "My Notes") + Header('2', '0', "@Address Books")
            + Header('3', '0', "Business") + Header('3', '0', "Services")
            + Header('3', '0', "Personal") + Header('2', '0', "@To Do") + Header('3', '0', "Work")
            + Header('3', '0', "Home"));
    EXPECT_EQ(Header('1', '0', "My Notes").size(), 51u + 2u);
}

TEST_F(NotesFolder, WorkedExampleIsWrittenAndReadBackExactly)
{
    const std::string file = Header('1', '0', "My Notes") + "Call Jo\r\n"
        + Header('2', '1', "Business",
            "0064"
            "0120"
                + Widths64.substr(0, 32))
        + "Name\tPhone\r\nJo\t555 1234\r\n";
    TNotesTree tree;
    TNoteNode& root = tree.Add(nullptr, "My Notes");
    NoteDataOf(root).Lines = { "Call Jo" };
    TNoteNode& business = tree.Add(&root, "Business");
    NoteDataOf(business).AsGrid = 1;
    business.Data->ColWidths[1] = 120;
    business.Data->Lines = { "Name\tPhone", "Jo\t555 1234" };
    EXPECT_EQ(FormatNotes(tree), file);

    WriteFile(file);
    TNotesTree loaded;
    EXPECT_TRUE(LoadNotes(loaded, Folder, IoError));
    EXPECT_EQ(Shape(loaded), "1:My Notes|Call Jo;2:Business|Name\tPhone|Jo\t555 1234;");
    const TNoteNode& read = *loaded.Root()->Children[0];
    EXPECT_EQ(read.Data->AsGrid, 1);
    EXPECT_EQ(read.ImageIndex, 1);
    EXPECT_EQ(read.Data->ColWidths[1], 120);
    EXPECT_EQ(read.Data->ColWidths[9], 64);
    EXPECT_EQ(FormatNotes(loaded), file);
}

TEST(NotesFile, LevelsPlaceCategoriesByTheLevelRules)
{
    struct Case {
        std::string Levels;
        std::string Shape;
    };
    const Case cases[] = {
        { "133", "1:a;2:b;2:c;" }, // a jump down adds one level only
        { "1232", "1:a;2:b;3:c;2:d;" },
        { "12341", "1:a;2:b;3:c;4:d;1:e;" }, // back to the top: a second top-level category
        { "3", "1:a;" },
        { "x2", "1:a;2:b;" }, // a non-digit level reads as 0
        { "121", "1:a;2:b;1:c;" },
    };
    for (const Case& c : cases) {
        std::string text;
        char name = 'a';
        for (const char level : c.Levels)
            text += Header(level, '0', std::string(1, name++));
        TNotesTree tree;
        ParseNotes(text, tree);
        EXPECT_EQ(Shape(tree), c.Shape) << c.Levels;
        // Saved and read again, every category comes back, top-level ones too.
        TNotesTree again;
        ParseNotes(FormatNotes(tree), again);
        EXPECT_EQ(Shape(again), c.Shape) << c.Levels;
    }
    // Deeper than a digit: every level written stays within 1 to 9.
    TNotesTree deep;
    TNoteNode* node = &deep.Add(nullptr, "level 1");
    for (int level = 2; level <= 11; ++level)
        node = &deep.Add(node, "level " + std::to_string(level));
    const std::string written = FormatNotes(deep);
    int headers = 0;
    for (size_t at = written.find('\xFF'); at != std::string::npos;
         at = written.find('\xFF', at + 1)) {
        ++headers;
        EXPECT_GE(written[at + 1], '1') << at;
        EXPECT_LE(written[at + 1], '9') << at;
    }
    EXPECT_EQ(headers, 11);
    TNotesTree tree;
    ParseNotes(Header('1', '0', "a") + Header('3', '0', "b") + Header('3', '0', "c"), tree);
    EXPECT_EQ(
        FormatNotes(tree), Header('1', '0', "a") + Header('2', '0', "b") + Header('2', '0', "c"));
}

TEST(NotesFile, ShortHeadersAndUnreadableWidths)
{
    TNotesTree tree;
    ParseNotes(
        std::string("\xFF") + "1\r\n" + "\xFF" + "21" + "0064012\r\n" + "\xFF" + "30??450120\r\n",
        tree);
    const TNoteNode& root = *tree.Root();
    EXPECT_EQ(root.Name, "");
    EXPECT_EQ(root.Data->AsGrid, 0);
    EXPECT_EQ(root.Data->ColWidths[0], 0);
    const TNoteNode& second = *root.Children[0];
    EXPECT_EQ(second.Data->AsGrid, 1);
    EXPECT_EQ(second.Data->ColWidths[0], 64);
    EXPECT_EQ(second.Data->ColWidths[1], 12);
    EXPECT_EQ(second.Data->ColWidths[2], 0);
    const TNoteNode& third = *second.Children[0];
    EXPECT_EQ(third.Data->ColWidths[0], 0);
    EXPECT_EQ(third.Data->ColWidths[1], 120);

    // 12345 is written as ??45 and comes back 0 pixels wide.
    TNotesTree wide;
    NoteDataOf(wide.Add(nullptr, "w")).ColWidths[0] = 12345;
    const std::string text = FormatNotes(wide);
    EXPECT_EQ(text.substr(3, 4), "??45");
    TNotesTree back;
    ParseNotes(text, back);
    EXPECT_EQ(back.Root()->Data->ColWidths[0], 0);
}

TEST(NotesFile, LineEndsEmptyLinesAndEndOfFileByte)
{
    TNotesTree tree;
    EXPECT_TRUE(ParseNotes(Header('1', '0', "r") + "a\nb\r\n\r\nc\rd\r\n\r\n", tree));
    EXPECT_EQ(Shape(tree), "1:r|a\nb||c|d|;");
    EXPECT_EQ(FormatNotes(tree), Header('1', '0', "r") + "a\nb\r\n\r\nc\r\nd\r\n\r\n");

    TNotesTree cut;
    EXPECT_FALSE(ParseNotes(Header('1', '0', "r") + "ab\x1A" + "cd\r\nef\r\n", cut));
    EXPECT_EQ(Shape(cut), "1:r|ab;");
    TNotesTree trailing;
    EXPECT_TRUE(ParseNotes(Header('1', '0', "r") + "ab\r\n\x1A", trailing));
    EXPECT_EQ(Shape(trailing), "1:r|ab;");
}

TEST(NotesFile, TextTheFormatCannotHoldIsEscapedAndComesBackExactly)
{
    TNotesTree tree;
    // In memory 0xFF is "ÿ", which the 8-bit file holds as that byte.
    TNoteNode& root = tree.Add(nullptr,
        "a\x1A"
        "b\rcÿ");
    NoteDataOf(root).AsGrid = 1;
    root.Data->Lines = { "ÿstarts", "x\x1Ay", "cr\rhere", "ÿ", "plainÿ", "ÿ=", "" };
    const std::string text = FormatNotes(tree);
    EXPECT_EQ(text.find('\x1A'), std::string::npos);
    EXPECT_EQ(text.substr(0, 3),
        "\xFF"
        "1B");
    EXPECT_NE(text.find("\r\nplain\xFF\r\n"), std::string::npos); // needs no escape
    TNotesTree back;
    EXPECT_TRUE(ParseNotes(text, back));
    EXPECT_EQ(back.Root()->Name, root.Name);
    EXPECT_EQ(back.Root()->Data->AsGrid, 1);
    EXPECT_EQ(back.Root()->Data->Lines, root.Data->Lines);
    EXPECT_EQ(FormatNotes(back), text);
}

TEST(NotesFile, LinesBeforeTheFirstHeaderBecomeTheRootsFirstLines)
{
    TNotesTree tree;
    ParseNotes("lost?\r\n\r\n" + Header('1', '0', "r") + "own\r\n" + Header('2', '0', "c"), tree);
    EXPECT_EQ(Shape(tree), "1:r|lost?||own;2:c;");

    TNotesTree plain;
    ParseNotes("just text\r\nno headers", plain);
    EXPECT_EQ(Shape(plain),
        "1:My Notes|just text|no headers;2:@Address Books;3:Business;3:Services;"
        "3:Personal;2:@To Do;3:Work;3:Home;");
}

TEST(NotesFile, RandomTreesRoundTripByteForByte)
{
    std::mt19937 random(20240611);
    const auto text = [&random](size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& c : s) {
            const unsigned pick = random() % 20;
            c = pick == 0   ? '\xFF'
                : pick == 1 ? '\r'
                : pick == 2 ? '\n'
                : pick == 3 ? '\x1A'
                : pick == 4 ? '\t'
                : pick == 5 ? '='
                            : static_cast<char>(random() % 256);
        }
        return AnsiToUtf8(s);
    };
    for (int round = 0; round < 200; ++round) {
        TNotesTree tree;
        TNoteNode& root = tree.Add(nullptr, text(12));
        std::vector<TNoteNode*> nodes { &root };
        const size_t count = random() % 40;
        for (size_t i = 0; i < count; ++i) {
            TNoteNode* parent = nodes[random() % nodes.size()];
            if (TNotesTree::Depth(*parent) < TNotesTree::MaxLevels)
                nodes.push_back(&tree.Add(parent, text(12)));
        }
        for (TNoteNode* n : nodes) {
            if (random() % 4 == 0)
                continue; // no record yet
            TNoteData& data = NoteDataOf(*n);
            data.AsGrid = static_cast<uint8_t>(random() % 2);
            for (uint16_t& width : data.ColWidths)
                width = static_cast<uint16_t>(random() % 10000);
            const size_t lines = random() % 6;
            for (size_t i = 0; i < lines; ++i)
                data.Lines.push_back(text(20));
        }
        const std::string first = FormatNotes(tree);
        TNotesTree back;
        ASSERT_TRUE(ParseNotes(first, back)) << round;
        EXPECT_EQ(Shape(back), Shape(tree)) << round;
        EXPECT_EQ(FormatNotes(back), first) << round;
    }
}

TEST_F(NotesFolder, SavingReplacesTheFileWholeOrNotAtAll)
{
    TNotesTree tree;
    BuildDefaultNotes(tree);
    WriteFile("old");
    TIoError error;
    EXPECT_FALSE(SaveNotes(tree, Folder / "missing", error));
    EXPECT_FALSE(error.IoError());
    EXPECT_EQ(ReadFile(), "old");
    EXPECT_TRUE(SaveNotes(tree, Folder, error));
    EXPECT_EQ(ReadFile(), FormatNotes(tree));
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(Folder / NotesFileName)));
}

TEST_F(NotesFolder, AFolderInTheFilesPlaceIsAReadErrorAndIsNotSavedOver)
{
    std::filesystem::create_directory(Folder / NotesFileName);
    TDataFile file(Folder / NotesFileName);
    TNotesTree tree;
    EXPECT_FALSE(LoadNotes(tree, file, IoError));
    EXPECT_EQ(file.LoadEnd(), TDataFile::leReadError);
    EXPECT_EQ(tree.Root()->Name, "My Notes");
    EXPECT_NE(SaveDataText(FormatNotes(tree), file, IoError, 0), TDataFile::srSaved);
    EXPECT_TRUE(std::filesystem::is_directory(Folder / NotesFileName));
}

TEST_F(NotesFolder, ALoadThatStopsAtTheEndOfFileByteKeepsTheOriginalBesideIt)
{
    const std::string original = Header('1', '0', "r") + "kept\r\n\x1A" + "after\r\n";
    WriteFile(original);
    TDataFile file(Folder / NotesFileName);
    TNotesTree tree;
    EXPECT_TRUE(LoadNotes(tree, file, IoError));
    EXPECT_EQ(file.LoadEnd(), TDataFile::leStoppedEarly);
    EXPECT_TRUE(file.TakeNotice());
    EXPECT_FALSE(file.TakeNotice());
    const TDateTime now = 46000;
    const std::filesystem::path backup = file.BackupPathFor(now);
    ASSERT_EQ(SaveDataText(FormatNotes(tree), file, IoError, now), TDataFile::srSaved);
    EXPECT_EQ(ReadFile(), Header('1', '0', "r") + "kept\r\n");
    std::ifstream in(backup, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);

    // A trailing end-of-file byte is no data left unread.
    WriteFile(Header('1', '0', "r") + "\x1A\r\n\x1A");
    TDataFile whole(Folder / NotesFileName);
    TNotesTree again;
    EXPECT_TRUE(LoadNotes(again, whole, IoError));
    EXPECT_EQ(whole.LoadEnd(), TDataFile::leWhole);
}

TEST_F(NotesFolder, TextOfEveryScriptTurnsTheFileUtf8AndRoundTrips)
{
    const std::vector<std::string> scripts = { "Zoë café 10€", "Łódź", "Ελληνικά", "Кириллица",
        "עברית", "العربية", "देवनागरी", "東京 한국어", "👋🏿 👨‍💻",
        "cr\rand\x1A"
        "end" };
    TNotesTree tree;
    TNoteNode& root = tree.Add(nullptr, "Wurzel Ωμέγα");
    NoteDataOf(root).Lines = scripts;
    NoteDataOf(tree.Add(&root, "Plain")).Lines = { "ascii only" };
    TDataFile file(Folder / NotesFileName);
    EXPECT_EQ(NotesForm(tree, file.Form()), tfUtf8);
    ASSERT_EQ(SaveDataText(FormatNotes(tree, file.Form()), file, IoError, 0), TDataFile::srSaved);
    EXPECT_TRUE(file.TakeFormNotice());
    const std::string saved = ReadFile();
    // The mark, then the header's 0xFF as in the 8-bit form.
    EXPECT_TRUE(saved.starts_with("\xEF\xBB\xBF\xFF"
                                  "10"));

    TNotesTree back;
    TDataFile again(Folder / NotesFileName);
    ASSERT_TRUE(LoadNotes(back, again, IoError));
    EXPECT_EQ(again.Form(), tfUtf8);
    EXPECT_EQ(back.Root()->Name, "Wurzel Ωμέγα");
    EXPECT_EQ(back.Root()->Data->Lines, scripts);
    EXPECT_EQ(FormatNotes(back, again.Form()), saved);
}

TEST_F(NotesFolder, A1252FileStaysByteForByteAndABrokenUtf8OneIsKept)
{
    const std::string ansi = Header('1', '0', "Caf\xE9") + "10\x80 \xFF\r\n";
    WriteFile(ansi);
    TNotesTree tree;
    TDataFile file(Folder / NotesFileName);
    ASSERT_TRUE(LoadNotes(tree, file, IoError));
    EXPECT_EQ(tree.Root()->Name, "Café");
    EXPECT_EQ(tree.Root()->Data->Lines[0], "10€ ÿ");
    EXPECT_EQ(FormatNotes(tree, file.Form()), ansi);

    const std::string broken = "\xEF\xBB\xBF" + Header('1', '0', "a\xE9") + "ok\r\n";
    WriteFile(broken);
    TNotesTree shown;
    ASSERT_TRUE(LoadNotes(shown, file, IoError));
    EXPECT_EQ(shown.Root()->Name, "a\uFFFD");
    EXPECT_TRUE(file.KeepsOriginal());
    ASSERT_EQ(SaveDataText(FormatNotes(shown, file.Form()), file, IoError, 0), TDataFile::srSaved);
    std::ifstream kept(file.BackupPath(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), broken);
}
