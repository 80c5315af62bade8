#include "controls/Contrast.h"
#include "controls/FakeDialogues.h"
#include "notes/NotesDocument.h"
#include "notes/NotesEditPane.h"
#include "notes/NotesFile.h"
#include "notes/NotesImages.h"
#include "notes/NotesPage.h"
#include "notes/NotesTreeModel.h"
#include "notes/NotesTreeView.h"
#include "platform/Clipboard.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <fstream>

using namespace Qt::StringLiterals;

// The notes page as the user meets it: the default tree, categories made,
// renamed, deleted and dragged, and the text of each kept across selections,
// saves and restarts.
class TestNotesPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;
    std::unique_ptr<TFakeDialogues> Dialogues;
    TMemoryClipboard Clipboard;
    std::unique_ptr<TNotesDocument> Document;
    std::optional<TDataFile> File;
    TNotesTree* Tree = nullptr;
    std::unique_ptr<TNotesPage> Page;
    std::unique_ptr<QAbstractItemModelTester> Tester;
    TIoError IoError;

    std::filesystem::path Path() const { return Folder->path().toStdString(); }
    QTreeView* View() const { return Page->TreeView(); }
    QPlainTextEdit* Memo() const { return Page->findChild<QPlainTextEdit*>(u"NotesMemo"_s); }
    // A category by its path of names below the root: Node({"@To Do", "Work"}).
    TNoteNode* Node(std::initializer_list<const char*> path) const
    {
        TNoteNode* node = Tree->Root();
        for (const char* name : path) {
            TNoteNode* found = nullptr;
            for (const TNoteLink& child : node->Children)
                if (child->Name == name)
                    found = child.get();
            if (!found)
                return nullptr;
            node = found;
        }
        return node;
    }
    QString Names(const TNoteNode* node) const
    {
        QStringList names;
        for (const TNoteLink& child : node->Children)
            names << QString::fromStdString(child->Name);
        return names.join(u',');
    }
    bool Open() { return Document->Load(*File, IoError); }
    bool Save()
    {
        Document->StoreView();
        return File->Save(FormatNotes(*Tree), 0) == TDataFile::srSaved;
    }
    void Select(TNoteNode* node) { View()->setCurrentIndex(Page->Model().IndexOf(node)); }

private Q_SLOTS:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        Dialogues = std::make_unique<TFakeDialogues>();
        Document = std::make_unique<TNotesDocument>();
        File.emplace(Path() / NotesFileName);
        Tree = &Document->Tree();
        Page = std::make_unique<TNotesPage>(
            *Document, *Dialogues, new TNotesEditPane(*Dialogues, Clipboard));
        Tester = std::make_unique<QAbstractItemModelTester>(
            &Page->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        Page->resize(560, 360);
        Page->show();
        QVERIFY(QTest::qWaitForWindowExposed(Page.get()));
        QVERIFY(Open());
    }
    void cleanup()
    {
        Tester.reset();
        Page.reset();
    }

    void theToolBarGlyphsShowOnLightAndDarkGrounds()
    {
        for (const QColor& ground : { QColor(239, 239, 239), QColor(49, 54, 59) })
            for (int glyph = ngAddCategory; glyph <= ngSort; ++glyph) {
                QImage image(16, 16, QImage::Format_RGB32);
                image.fill(ground);
                QPainter(&image).drawPixmap(
                    0, 0, NotesGlyph(TNotesGlyph(glyph), ground).pixmap(16, 16));
                double best = 1;
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x)
                        best = std::max(best, ContrastRatio(ground, image.pixel(x, y)));
                QVERIFY2(best >= LegibleRatio, qPrintable(QString::number(glyph)));
            }
    }

    void firstStartShowsTheDefaultTreeWithTheRootSelectedAndOpen()
    {
        QCOMPARE(Page->Model().rowCount(), 1);
        QCOMPARE(View()->currentIndex().data().toString(), u"My Notes"_s);
        QVERIFY(View()->isExpanded(View()->currentIndex()));
        QCOMPARE(Page->Selected(), Tree->Root());
        QVERIFY(Tree->Root()->Data);
        QCOMPARE(Names(Tree->Root()), u"@Address Books,@To Do"_s);
        const QStringList tools { u"AddCategoryButton"_s, u"DeleteCategoryButton"_s,
            u"NotesAsMemoButton"_s, u"NotesAsGridButton"_s, u"bFind"_s, u"bDial"_s, u"bSend"_s,
            u"bCut"_s, u"bCopy"_s, u"bPaste"_s, u"ChangeCaseButton"_s, u"WordWrapButton"_s,
            u"bInsert"_s, u"bDelete"_s, u"SortButton"_s, u"NotesHelpButton"_s };
        QStringList shown;
        for (QAction* action : Page->NotesTools->actions())
            if (!action->isSeparator())
                shown << action->objectName();
        QCOMPARE(shown, tools);
        QSignalSpy help(Page.get(), &TNotesPage::HelpRequested);
        Page->NotesHelpButton->trigger();
        QCOMPARE(help.value(0).value(0).toInt(), 5);
    }

    void textIsStoredAndShownAcrossSelections()
    {
        Memo()->setFocus();
        QTest::keyClicks(Memo(), u"Call Jo"_s);
        Select(Node({ "@Address Books", "Business" }));
        QCOMPARE(Memo()->toPlainText(), QString());
        QCOMPARE(Tree->Root()->Data->Lines, std::vector<std::string> { "Call Jo" });
        QTest::keyClicks(Memo(), u"Jo\t555"_s);
        Select(Tree->Root());
        QCOMPARE(Memo()->toPlainText(), u"Call Jo"_s);
        QCOMPARE(Node({ "@Address Books", "Business" })->Data->Lines,
            std::vector<std::string> { "Jo\t555" });

        // A table category stays one, with its widths, through the plain pane.
        TNoteData& table = NoteDataOf(*Node({ "@To Do" }));
        table.AsGrid = 1;
        table.ColWidths[3] = 200;
        table.Lines = { "", "a\tb" };
        Select(Node({ "@To Do" }));
        Select(Tree->Root());
        QCOMPARE(table.AsGrid, 1);
        QCOMPARE(table.ColWidths[3], 200);
        QCOMPARE(table.Lines, (std::vector<std::string> { "", "a\tb" }));

        // Saved, freed and read again, as on hiding, exit and restart.
        QVERIFY(Save());
        Document->Clear();
        QVERIFY(Tree->Empty());
        QCOMPARE(Page->Model().rowCount(), 0);
        QVERIFY(Open());
        QCOMPARE(Memo()->toPlainText(), u"Call Jo"_s);
        QCOMPARE(Node({ "@To Do" })->ImageIndex, 1);
    }

    void nothingIsTypedWhileNoCategoryIsSelected()
    {
        Memo()->setFocus();
        QTest::keyClicks(Memo(), u"kept"_s);
        Page->NotesTreeViewMouseDown(QModelIndex(), View()->mapToGlobal(QPoint(5, 300)));
        Page->pmNotesTree->close();
        QCOMPARE(Page->Selected(), nullptr);
        QCOMPARE(Tree->Root()->Data->Lines, std::vector<std::string> { "kept" });
        QVERIFY(!Memo()->isEnabled());
        QTest::keyClicks(Memo(), u" lost"_s);
        QCOMPARE(Memo()->toPlainText(), u"kept"_s);
        Select(Tree->Root());
        QVERIFY(Memo()->isEnabled());
        QCOMPARE(Memo()->toPlainText(), u"kept"_s);

        // Nor while the notes are being replaced, or before they are read.
        Document->Clear();
        QVERIFY(!Memo()->isEnabled());
        TNotesDocument unread;
        TNotesPage early(unread, *Dialogues, new TNotesEditPane(*Dialogues, Clipboard));
        QVERIFY(!early.findChild<QPlainTextEdit*>(u"NotesMemo"_s)->isEnabled());
    }

    void aNewCategoryIsNamedInPlaceAndSortedWhenTheNameIsConfirmed()
    {
        Memo()->setFocus();
        QTest::keyClicks(Memo(), u"root text"_s);
        Select(Node({ "@To Do" }));
        Page->AddCategoryButtonClick();
        TNoteNode* added = Page->Selected();
        QCOMPARE(added->Name, "New Category");
        QCOMPARE(Names(Node({ "@To Do" })), u"Work,Home,New Category"_s);
        QCOMPARE(Memo()->toPlainText(), QString());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor && View()->isAncestorOf(editor));
        editor->setText(u"Errands"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Names(Node({ "@To Do" })), u"Errands,Home,Work"_s);
        QCOMPARE(Page->Selected(), added);
        QCOMPARE(View()->currentIndex().data().toString(), u"Errands"_s);

        // F2 on the root, and the whole tree sorts at every level.
        Select(Tree->Root());
        QTest::keyClick(View(), Qt::Key_F2);
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->setText(u"Notes"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Tree->Root()->Name, "Notes");
        QCOMPARE(Names(Node({ "@Address Books" })), u"Business,Personal,Services"_s);
        QCOMPARE(Memo()->toPlainText(), u"root text"_s);

        // Names sort as the desktop does: symbols, then digits, then letters.
        Page->AddCategoryButtonClick();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        Page->Model().setData(View()->currentIndex(), u"2024"_s);
        QCOMPARE(Names(Tree->Root()), u"@Address Books,@To Do,2024"_s);
        Page->Model().setData(View()->currentIndex(), u"annual"_s);
        QCOMPARE(Names(Tree->Root()), u"@Address Books,@To Do,annual"_s);
    }

    void deletingRefusesTheRootAndParentsAndAsksFirst()
    {
        Page->DeleteCategoryButtonClick();
        Select(Node({ "@Address Books" }));
        Page->DeleteCategoryButtonClick();
        QCOMPARE(Dialogues->Errors,
            QStringList({ u"Can NOT delete root Category."_s,
                u"You can not Delete a Category with sub Categories"_s }));
        QVERIFY(Dialogues->Confirms.isEmpty());

        Select(Node({ "@To Do", "Work" }));
        Dialogues->ConfirmAnswers = { false, true };
        Page->mDeleteCat->trigger();
        QCOMPARE(Names(Node({ "@To Do" })), u"Work,Home"_s);
        Page->DeleteCategoryButtonClick();
        QCOMPARE(Dialogues->Confirms.last(), u"Do you want to Delete \"Work\" ?"_s);
        QCOMPARE(Names(Node({ "@To Do" })), u"Home"_s);
        QCOMPARE(Page->Selected(), Node({ "@To Do", "Home" }));

        // The only child gone, its parent is shown.
        Memo()->setFocus();
        QTest::keyClicks(Memo(), u"lost with Home"_s);
        Dialogues->ConfirmAnswers = { true };
        Page->DeleteCategoryButtonClick();
        QCOMPARE(Page->Selected(), Node({ "@To Do" }));
        QVERIFY(Node({ "@To Do" })->Children.empty());
        QCOMPARE(View()->currentIndex().data().toString(), u"@To Do"_s);
    }

    void dropsMoveUnderTheTargetExceptIntoThemselves()
    {
        TNoteNode* toDo = Node({ "@To Do" });
        Select(toDo);
        Page->NotesTreeViewDragDrop(Page->Model().IndexOf(Node({ "@Address Books", "Business" })));
        QCOMPARE(Names(Tree->Root()), u"@Address Books"_s);
        QCOMPARE(Names(Node({ "@Address Books", "Business" })), u"@To Do"_s);
        QCOMPARE(Names(toDo), u"Home,Work"_s);
        QVERIFY(View()->isExpanded(Page->Model().IndexOf(Node({ "@Address Books", "Business" }))));
        QCOMPARE(Page->Selected(), toDo);
        QCOMPARE(View()->currentIndex().data().toString(), u"@To Do"_s);

        const QString before = Names(toDo);
        Page->NotesTreeViewDragDrop(Page->Model().IndexOf(toDo->Children[0].get()));
        Page->NotesTreeViewDragDrop(Page->Model().IndexOf(toDo));
        QCOMPARE(Names(toDo), before);
        QCOMPARE(TNotesTree::Depth(*toDo), 4);

        // Empty space: back under the root, never beside it.
        Page->NotesTreeViewDragDrop(QModelIndex());
        QCOMPARE(Page->Model().rowCount(), 1);
        QCOMPARE(Names(Tree->Root()), u"@Address Books,@To Do"_s);
        Select(Tree->Root());
        Page->NotesTreeViewDragDrop(QModelIndex());
        QCOMPARE(Page->Model().rowCount(), 1);
    }

    void theTreeStaysWithinNineLevelsAndOneRoot()
    {
        TNoteNode* deepest = Node({ "@To Do", "Work" });
        Select(deepest);
        for (int depth = 4; depth <= 9; ++depth) {
            Page->AddCategoryButtonClick();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
        TNoteNode* ninth = Page->Selected();
        QCOMPARE(TNotesTree::Depth(*ninth), 9);
        Page->AddCategoryButtonClick();
        QCOMPARE(Dialogues->Errors,
            QStringList { u"Categories can be nested at most 9 levels deep."_s });
        Select(Node({ "@Address Books" }));
        Page->NotesTreeViewDragDrop(Page->Model().IndexOf(ninth));
        QCOMPARE(Dialogues->Errors.size(), 2);
        QCOMPARE(Names(Tree->Root()), u"@Address Books,@To Do"_s);

        // A right click on empty space selects nothing and opens the menu;
        // the page's text then belongs to no category, and a new one goes under the root.
        Select(Tree->Root());
        Memo()->setFocus();
        QTest::keyClicks(Memo(), u"kept"_s);
        Page->NotesTreeViewMouseDown(QModelIndex(), View()->mapToGlobal(QPoint(5, 300)));
        QVERIFY(Page->pmNotesTree->isVisible());
        Page->pmNotesTree->hide();
        QCOMPARE(Page->Selected(), nullptr);
        QCOMPARE(Tree->Root()->Data->Lines, std::vector<std::string> { "kept" });
        Page->DeleteCategoryButtonClick();
        QCOMPARE(Dialogues->Errors.size(), 2);
        Page->AddCategoryButtonClick();
        QCOMPARE(Page->Model().rowCount(), 1);
        QCOMPARE(Names(Tree->Root()), u"@Address Books,@To Do,New Category"_s);
    }

    void theSplitterKeepsTheTreesWidth()
    {
        Page->SetSplit(180);
        QCOMPARE(Page->Split(), 180);
        QTRY_COMPARE(View()->width(), 180);
        Page->resize(700, 360);
        QTRY_COMPARE(View()->width(), 180);
        Page->SetSplit(5);
        QCOMPARE(Page->Split(), 32);
    }
};

QTEST_MAIN(TestNotesPage)
#include "tst_NotesPage.moc"
