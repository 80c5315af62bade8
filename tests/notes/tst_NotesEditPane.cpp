#include "controls/FakeDialogues.h"
#include "notes/NotesEditPane.h"
#include "notes/NotesGrid.h"
#include "notes/NotesMemo.h"
#include "notes/NotesTableModel.h"
#include "platform/Clipboard.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <memory>

using namespace Qt::StringLiterals;
using Lines = std::vector<std::string>;

// The editing pane on its own, with the tool bar's actions as the page makes them.
class TestNotesEditPane : public QObject
{
    Q_OBJECT

private:
    TFakeDialogues Dialogues;
    TMemoryClipboard Clipboard;
    std::unique_ptr<QWidget> Window;
    TNotesEditPane* Pane = nullptr;
    TNotesEditorTools Tools;
    int Image = -1;
    std::unique_ptr<QUndoStack> History;

    QAction* Action(const QString& name, bool checkable = false)
    {
        auto* action = new QAction(name, Window.get());
        action->setObjectName(name);
        action->setCheckable(checkable);
        action->setEnabled(false);
        return action;
    }
    TNotesGrid* Grid() { return static_cast<TNotesGrid*>(Pane->Grid()); }
    QPlainTextEdit* Memo() { return static_cast<QPlainTextEdit*>(Pane->Memo()); }
    QString Cell(int col, int row)
    {
        return Pane->Grid()->model()->index(row - 1, col - 1).data().toString();
    }
    void Show(const Lines& lines, uint8_t asGrid, int caret = 0)
    {
        TNoteData data;
        data.Lines = lines;
        data.AsGrid = asGrid;
        data.ColWidths[1] = 120;
        Pane->Show(data, caret);
    }
    Lines Stored(TNoteData* out = nullptr)
    {
        TNoteData data;
        Pane->Store(data);
        if (out)
            *out = data;
        return data.Lines.Strings();
    }
    void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    void Click(int col, int row, Qt::KeyboardModifiers modifiers = {},
        Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect cell = Grid()->visualRect(Grid()->model()->index(row - 1, col - 1));
        QTest::mouseClick(Grid()->viewport(), button, modifiers, cell.center());
    }
    // Typed characters, whatever the keyboard.
    void Type(QWidget* target, const QString& text)
    {
        // One key per character, a surrogate pair's two units together.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_A, text.mid(i, n), Qt::NoModifier);
            i += n - 1;
        }
    }
    QAction* MenuItem(const QString& name) { return Pane->NotesMenu()->findChild<QAction*>(name); }

private Q_SLOTS:
    void init()
    {
        Window = std::make_unique<QWidget>();
        Pane = new TNotesEditPane(Dialogues, Clipboard, Window.get());
        History = std::make_unique<QUndoStack>();
        Pane->SetHistory(History.get());
        Window->resize(700, 400);
        Pane->resize(700, 400);
        auto* views = new QActionGroup(Window.get());
        Tools.NotesAsMemoButton = views->addAction(Action(u"NotesAsMemoButton"_s, true));
        Tools.NotesAsGridButton = views->addAction(Action(u"NotesAsGridButton"_s, true));
        Tools.bCut = Action(u"bCut"_s);
        Tools.bCopy = Action(u"bCopy"_s);
        Tools.bPaste = Action(u"bPaste"_s);
        Tools.ChangeCaseButton = Action(u"ChangeCaseButton"_s);
        Tools.WordWrapButton = Action(u"WordWrapButton"_s, true);
        Tools.bInsert = Action(u"bInsert"_s);
        Tools.bDelete = Action(u"bDelete"_s);
        Tools.SortButton = Action(u"SortButton"_s);
        Tools.SetCategoryImage = [this](uint8_t image) { Image = image; };
        Pane->AttachTools(Tools);
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
        Dialogues = TFakeDialogues();
    }
    void cleanup()
    {
        Window.reset();
        History.reset();
    }

    void aDetachedPaneTakesNoInputUntilShownAgain()
    {
        for (const uint8_t asGrid : { 0, 1 }) {
            Show({ "Jo Smith\t555 1234" }, asGrid);
            Pane->Detach();
            QVERIFY(!Pane->isEnabled());
            for (QAction* tool : { Tools.NotesAsMemoButton, Tools.NotesAsGridButton, Tools.bCut,
                     Tools.bPaste, Tools.ChangeCaseButton, Tools.WordWrapButton, Tools.bInsert,
                     Tools.bDelete, Tools.SortButton })
                QVERIFY2(!tool->isEnabled(), qPrintable(tool->objectName()));
            Show({ "x" }, asGrid);
            QVERIFY(Pane->isEnabled());
            QVERIFY(Tools.bPaste->isEnabled());
            QCOMPARE(Tools.SortButton->isEnabled(), asGrid == 1);
            QCOMPARE(Tools.WordWrapButton->isEnabled(), asGrid == 0);
        }
    }

    void viewsSwitchAndTheToolsFollow()
    {
        QAbstractItemModelTester tester(
            Pane->Grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        Show({ "Name\tPhone", "Jo\t555 1234", "", "Al\t555 1234" }, 0, 14);
        QVERIFY(!Grid()->isVisible());
        QVERIFY(Tools.WordWrapButton->isEnabled());
        QVERIFY(!Tools.SortButton->isEnabled());
        QVERIFY(MenuItem(u"mUndo"_s)->isVisible());
        QVERIFY(!MenuItem(u"mInsertRow"_s)->isVisible());
        QVERIFY(!MenuItem(u"mDial"_s)->isEnabled());
        QCOMPARE(MenuItem(u"mSend"_s)->shortcut(), QKeySequence(u"Ctrl+S"_s));

        Tools.NotesAsGridButton->trigger();
        QVERIFY(Grid()->isVisible());
        QVERIFY(!Memo()->isEnabled());
        QCOMPARE(Image, 1);
        QVERIFY(Tools.bInsert->isEnabled() && !Tools.WordWrapButton->isEnabled());
        QVERIFY(MenuItem(u"mUndo"_s)->isVisible() && MenuItem(u"mDeleteRow"_s)->isVisible());
        QVERIFY(MenuItem(u"mRedo"_s)->isVisible());
        QCOMPARE(Grid()->model()->headerData(1, Qt::Horizontal).toString(), u"Phone"_s);
        QCOMPARE(Cell(1, 3), u"Al"_s);
        QCOMPARE(Grid()->Row(), 1); // the caret was on the second line
        QCOMPARE(Grid()->horizontalHeader()->sectionSize(1), 120);

        Tools.NotesAsMemoButton->trigger();
        QCOMPARE(Image, 0);
        QCOMPARE(Memo()->toPlainText(), u"Name\tPhone\nJo\t555 1234\n\nAl\t555 1234"_s);
        TNoteData data;
        QCOMPARE(Stored(&data), (Lines { "Name\tPhone", "Jo\t555 1234", "", "Al\t555 1234" }));
        QCOMPARE(data.AsGrid, 0);
        QCOMPARE(data.ColWidths[1], 120);
    }

    void cellsAreEditedOnlyAfterF2EnterOrDoubleClick()
    {
        Show({ "A\tB", "1\t2" }, 1);
        Grid()->setFocus();
        QTest::keyClicks(Grid(), u"x"_s);
        QVERIFY(!Grid()->Editing());
        Key(Grid(), Qt::Key_F2);
        QVERIFY(Grid()->Editing());
        auto* editor = Grid()->findChild<QLineEdit*>(u"NotesGridEditor"_s);
        QVERIFY(editor);
        QTest::keyClicks(editor, u"0"_s);
        Key(editor, Qt::Key_Return);
        QTRY_VERIFY(!Grid()->Editing());
        QCOMPARE(Cell(1, 1), u"10"_s);

        // Enter opens the editor; a store while editing keeps what was typed.
        Key(Grid(), Qt::Key_Right);
        Key(Grid(), Qt::Key_Return);
        QVERIFY(Grid()->Editing());
        QTest::keyClicks(Grid()->findChild<QLineEdit*>(u"NotesGridEditor"_s), u"5"_s);
        TNoteData data;
        QCOMPARE(Stored(&data), (Lines { "A\tB", "10\t25" }));
        QCOMPARE(data.AsGrid, 1);

        // Dragged headers move the cells; a column takes its width along.
        Grid()->horizontalHeader()->moveSection(1, 0);
        Grid()->verticalHeader()->moveSection(0, 1);
        QCOMPARE(Stored(&data), (Lines { "B\tA", "", "25\t10" }));
        QCOMPARE(data.ColWidths[0], 120);
        QCOMPARE(Grid()->horizontalHeader()->logicalIndex(0), 0);

        // Selecting a cell of the last row adds a row below it.
        const int rows = Grid()->model()->rowCount();
        Grid()->FocusCell(1, rows);
        QCOMPARE(Grid()->model()->rowCount(), rows + 1);
    }

    void deleteClearsTheSelectionAndClipboardBlocksTravel()
    {
        Show({ "h", "", "", "a\tb", "c\td" }, 1);
        Grid()->setFocus();
        Click(1, 3);
        Click(2, 4, Qt::ShiftModifier);
        Key(Grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard.Text(), u"a\tb\r\nc\td"_s);
        Grid()->FocusCell(1, 1);
        Key(Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Stored(), (Lines { "h", "a\tb", "c\td", "a\tb", "c\td" }));

        Click(2, 1);
        Key(Grid(), Qt::Key_Down, Qt::ShiftModifier);
        Key(Grid(), Qt::Key_Delete);
        // The right button keeps a selection it lies in and replaces one it misses.
        Click(1, 3, {}, Qt::RightButton);
        QCOMPARE(Grid()->Selection().Top, 3);
        Tools.bCut->trigger();
        QCOMPARE(Clipboard.Text(), u"a"_s);
        QCOMPARE(Stored(), (Lines { "h", "a", "c", "\tb", "c\td" }));
    }

    void aPasteGrowsTheTableOnce()
    {
        Show({ "h", "x" }, 1);
        QAbstractItemModelTester tester(
            &Pane->TableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&Pane->TableModel(), &QAbstractItemModel::rowsInserted);
        Clipboard.SetText(u"a\nb\n c\n\nd e\n-1"_s);
        Grid()->FocusCell(1, 1);
        Tools.bPaste->trigger();
        QCOMPARE(inserted.size(), 1);
        // Every row the table gained was announced.
        QCOMPARE(inserted.front().at(2).toInt(), Pane->TableModel().rowCount() - 1);
        QCOMPARE(Pane->TableModel().rowCount(), 7);
        QCOMPARE(Stored(), (Lines { "h", "a", "b", " c", "", "d e", "-1" }));
    }

    void rowsAreInsertedDeletedAndSorted()
    {
        Show({ "Key", "10", "9", "abc", "100" }, 1);
        Grid()->FocusCell(1, 1);
        Tools.SortButton->trigger();
        QCOMPARE(Stored(), (Lines { "Key", "abc", "9", "10", "100" }));
        Grid()->FocusCell(1, 2);
        Tools.bInsert->trigger();
        QCOMPARE(Grid()->Row(), 2);
        QCOMPARE(Stored(), (Lines { "Key", "abc", "", "9", "10", "100" }));

        Dialogues.ConfirmAnswers = { false, true };
        MenuItem(u"mDeleteRow"_s)->trigger();
        Tools.bDelete->trigger();
        QCOMPARE(Dialogues.Confirms,
            QStringList(
                { u"Do you want to Delete this Row ?"_s, u"Do you want to Delete this Row ?"_s }));
        QCOMPARE(Stored(), (Lines { "Key", "abc", "9", "10", "100" }));

        // A row always stays below the current one, so the table never runs out of data rows.
        Show({ "Key", "a" }, 1);
        Grid()->FocusCell(1, 1);
        Dialogues.ConfirmAnswers = { true };
        Tools.bDelete->trigger();
        QCOMPARE(Grid()->model()->rowCount(), 2);
        QCOMPARE(Stored(), Lines { "Key" });
    }

    void theMenuComesUpOnTheClickedWordOrCell()
    {
        Show({ "call 555 1234 now" }, 0);
        const QRect word = Memo()->cursorRect([this] {
            QTextCursor c = Memo()->textCursor();
            c.setPosition(7);
            return c;
        }());
        QContextMenuEvent click(QContextMenuEvent::Mouse, word.center(),
            Memo()->viewport()->mapToGlobal(word.center()));
        QApplication::sendEvent(Memo()->viewport(), &click);
        QTRY_VERIFY(Pane->NotesMenu()->isVisible());
        QCOMPARE(Memo()->textCursor().position(), 7);
        Pane->NotesMenu()->close();
        Tools.ChangeCaseButton->trigger();
        QCOMPARE(Memo()->toPlainText(), u"call 555 1234 now"_s);
        QCOMPARE(Memo()->textCursor().selectedText(), u"555"_s);

        Tools.NotesAsGridButton->trigger();
        Click(1, 1);
        Key(Grid(), Qt::Key_Menu);
        QTRY_VERIFY(Pane->NotesMenu()->isVisible());
        Pane->NotesMenu()->close();
    }

    void caseCyclesAndTypingIsUndone()
    {
        Show({ "say hello world" }, 0, 6);
        Memo()->setFocus();
        Tools.ChangeCaseButton->trigger();
        QCOMPARE(Memo()->textCursor().selectedText(), u"Hello"_s);
        Tools.ChangeCaseButton->trigger();
        Tools.ChangeCaseButton->trigger();
        QCOMPARE(Memo()->toPlainText(), u"say hello world"_s);
        QTextCursor end = Memo()->textCursor();
        end.movePosition(QTextCursor::End);
        Memo()->setTextCursor(end);
        QTest::keyClicks(Memo(), u" don't"_s);
        Memo()->setTextCursor(end);
        Key(Memo(), Qt::Key_Left);
        Tools.ChangeCaseButton->trigger();
        QCOMPARE(Memo()->toPlainText(), u"say hello world Don'T"_s);
        MenuItem(u"mUndo"_s)->trigger();
        QCOMPARE(Memo()->toPlainText(), u"say hello world don't"_s);
        // Another category shown: the steps typed into the last one are gone.
        Show({ "Łódź -5", "" }, 0);
        QVERIFY(!Memo()->document()->isUndoAvailable());
        MenuItem(u"mUndo"_s)->trigger();
        QCOMPARE(Stored(), (Lines { "Łódź -5", "" }));
        Show({ "say hello world" }, 0, 6);

        Tools.NotesAsGridButton->trigger();
        Grid()->FocusCell(1, 1);
        Pane->TableModel().SetCell(1, 1, "mixed Case");
        Tools.ChangeCaseButton->trigger();
        QCOMPARE(Cell(1, 1), u"MIXED CASE"_s);
    }

    void tableStepsAreUndoneAndRedoneByKeysAndMenu()
    {
        Show({ "Name\tAge", "bravo\t10", "Alpha\t-3", "", "charlie é\t9" }, 1);
        const auto undo = [this] { Key(Grid(), Qt::Key_Z, Qt::ControlModifier); };
        Grid()->FocusCell(1, 1);
        Tools.SortButton->trigger();
        QCOMPARE(Cell(1, 1), u"Alpha"_s);
        Clipboard.SetText(u"x\ty\nz"_s);
        Grid()->FocusCell(1, 5);
        Tools.bPaste->trigger();
        QCOMPARE(Cell(1, 6), u"z"_s);
        Grid()->FocusCell(1, 2);
        Tools.ChangeCaseButton->trigger();
        Pane->TableModel().setData(Pane->TableModel().index(0, 1), u"11"_s);
        Tools.bInsert->trigger();
        Dialogues.ConfirmAnswers = { true };
        Grid()->FocusCell(1, 3);
        Tools.bDelete->trigger();
        QCOMPARE(MenuItem(u"mUndo"_s)->text(), u"Undo Delete Row"_s);

        // Each step undone in turn: the table before it.
        const Lines steps[] = {
            { "Name\tAge", "Alpha\t11", "", "Bravo\t10", "charlie é\t9", "", "x\ty", "z" },
            { "Name\tAge", "Alpha\t11", "Bravo\t10", "charlie é\t9", "", "x\ty", "z" },
            { "Name\tAge", "Alpha\t-3", "Bravo\t10", "charlie é\t9", "", "x\ty", "z" },
            { "Name\tAge", "Alpha\t-3", "bravo\t10", "charlie é\t9", "", "x\ty", "z" },
            { "Name\tAge", "Alpha\t-3", "bravo\t10", "charlie é\t9" },
            { "Name\tAge", "bravo\t10", "Alpha\t-3", "", "charlie é\t9" },
        };
        for (const Lines& before : steps) {
            undo();
            QCOMPARE(Stored(), before);
        }
        QCOMPARE(MenuItem(u"mUndo"_s)->text(), u"Undo"_s);
        QCOMPARE(MenuItem(u"mRedo"_s)->text(), u"Redo Sort"_s);
        MenuItem(u"mRedo"_s)->trigger();
        Key(Grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Stored(), steps[3]);
        QCOMPARE(Grid()->Row(), 5);

        // Another table starts afresh.
        Show({ "a", "b" }, 1);
        QVERIFY(!MenuItem(u"mUndo"_s)->isEnabled());
    }

    void textOfEveryLanguageIsKeptInTheMemoAndTheTable()
    {
        Show({ "Name", "abc" }, 0, 9);
        Memo()->setFocus();
        Type(Memo(), u" Łódź 東京 😀"_s);
        QCOMPARE(Memo()->toPlainText(), u"Name\nabc Łódź 東京 😀"_s);
        QCOMPARE(Stored(), (Lines { "Name", "abc Łódź 東京 😀" }));

        Tools.NotesAsGridButton->trigger();
        QCOMPARE(Cell(1, 1), u"abc Łódź 東京 😀"_s);
        Clipboard.SetText(u"ok\t→ 😀"_s);
        Grid()->FocusCell(1, 2);
        Tools.bPaste->trigger();
        QCOMPARE(Cell(2, 2), u"→ 😀"_s);
        Grid()->FocusCell(2, 2);
        Key(Grid(), Qt::Key_F2);
        auto* editor = Grid()->findChild<QLineEdit*>(u"NotesGridEditor"_s);
        QVERIFY(editor);
        editor->selectAll();
        Type(editor, u"Łódź 東京 😀"_s);
        Key(editor, Qt::Key_Return);
        QTRY_VERIFY(!Grid()->Editing());
        QCOMPARE(Cell(2, 2), u"Łódź 東京 😀"_s);
        QVERIFY(Dialogues.Errors.isEmpty());

        // The caret's place survives the trip through the core's UTF-8 offsets.
        Tools.NotesAsMemoButton->trigger();
        Show({ "東京 😀", "Łódź end" }, 0, 0);
        QTextCursor cursor = Memo()->textCursor();
        cursor.setPosition(9); // before "ź" on the second line
        Memo()->setTextCursor(cursor);
        TNoteData data;
        const int32_t findStart = Pane->Store(data);
        // The bytes before it: the first line's 11 and CR LF, "Łód" 5; then 1-based
        // and one on.
        QCOMPARE(findStart, 11 + 2 + 5 + 2);
        Pane->Show(data, findStart - 2);
        QCOMPARE(Memo()->textCursor().position(), 9);
    }
};

QTEST_MAIN(TestNotesEditPane)
#include "tst_NotesEditPane.moc"
