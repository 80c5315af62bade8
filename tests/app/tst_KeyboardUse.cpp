#include "FakeShell.h"
#include "notes/NoteData.h"
#include "notes/NotesTree.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace
{

template <typename T = QWidget> T* Named(const QObject& root, const QString& name)
{
    T* found = root.findChild<T*>(name);
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}

QWidget* Focus()
{
    return QApplication::focusWidget();
}

// Keys as the keyboard sends them: each to whatever has the focus then.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Focus(), key, modifiers);
}

void Type(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(Focus(), c.toLatin1());
}

std::unique_ptr<TTalvoForm> ShownForm(TFakeShell& shell)
{
    auto form = shell.Start();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        qFatal("the window did not become active");
    return form;
}

} // namespace

// The main window driven by the keyboard alone: where the focus starts and
// goes, the menus of the grids and trees, the notes tool bar.
class TestKeyboardUse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theFocusStartsInTheDiaryAndFollowsThePages()
    {
        TFakeShell shell;
        auto form = ShownForm(shell);
        auto* pages = Named<QTabWidget>(*form, u"PageControl"_s);
        auto* grid = Named<QTableView>(*form, u"CalendarGrid"_s);
        QCOMPARE(Focus(), grid);
        // Typed at once, a time and a description land in the diary.
        Press(Qt::Key_Right);
        Press(Qt::Key_Right);
        Type(u"1748"_s);
        Press(Qt::Key_Right);
        Type(u"Dentist 2 pm"_s);
        Press(Qt::Key_Return);
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(grid->model()->index(0, 2).data().toString(), u"17:48"_s);
        QCOMPARE(grid->model()->index(0, 3).data().toString(), u"Dentist 2 pm"_s);

        // Ctrl+PgDown and Ctrl+PgUp go round the pages; each shown page has the focus.
        const struct {
            Qt::Key Key;
            int Page;
            const char16_t* Focused;
        } steps[] = {
            { Qt::Key_PageDown, 1, u"NotesTreeView" },
            { Qt::Key_PageDown, 2, u"CalculatorGrid" },
            { Qt::Key_PageDown, 0, u"CalendarGrid" },
            { Qt::Key_PageUp, 2, u"CalculatorGrid" },
            { Qt::Key_PageUp, 1, u"NotesTreeView" },
        };
        for (const auto& step : steps) {
            Press(step.Key, Qt::ControlModifier);
            QCOMPARE(pages->currentIndex(), step.Page);
            QVERIFY(Focus());
            QCOMPARE(Focus()->objectName(), QString::fromUtf16(step.Focused));
        }

        // On the page tabs the arrow keys go on choosing pages.
        pages->tabBar()->setFocus();
        for (const int page : { 2, 1, 0 }) {
            Press(page == 2 ? Qt::Key_Right : Qt::Key_Left);
            QCOMPARE(pages->currentIndex(), page);
            QCOMPARE(Focus(), pages->tabBar());
        }
    }

    void theMenuKeyAndShiftF10OpenEachMenuAtTheCurrentPlace()
    {
        TFakeShell shell;
        auto form = ShownForm(shell);
        auto* pages = Named<QTabWidget>(*form, u"PageControl"_s);
        const struct {
            int Page;
            const char16_t* View;
            const char16_t* Menu;
        } places[] = {
            { 0, u"CalendarGrid", u"pmDiary" },
            { 1, u"NotesTreeView", u"pmNotesTree" },
            { 1, u"NotesMemo", u"pmNotes" },
            { 1, u"NotesGrid", u"pmNotes" },
            { 2, u"CalculatorGrid", u"pmCalculator" },
        };
        for (const auto& place : places) {
            pages->setCurrentIndex(place.Page);
            const QString name = QString::fromUtf16(place.View);
            if (name == u"NotesGrid"_s)
                Press(Qt::Key_T, Qt::ControlModifier); // the table view
            auto* view = Named(*form, name);
            QVERIFY2(view->isVisible(), qPrintable(name));
            view->setFocus();
            auto* menu = Named<QMenu>(*form, QString::fromUtf16(place.Menu));
            for (const auto& [key, modifiers] : { std::pair { Qt::Key_Menu, Qt::NoModifier },
                     std::pair { Qt::Key_F10, Qt::ShiftModifier } }) {
                Press(key, modifiers);
                QVERIFY2(menu->isVisible(), qPrintable(name));
                // Below the current cell or item, at its left edge.
                if (auto* items = qobject_cast<QAbstractItemView*>(view)) {
                    const QRect current = items->visualRect(items->currentIndex());
                    QCOMPARE(menu->pos(),
                        items->viewport()->mapToGlobal(current.bottomLeft() + QPoint(0, 1)));
                }
                menu->hide();
                QCOMPARE(Focus(), view);
            }
        }
    }

    void theNotesToolBarIsReachedByTabAndF6AndItsKeysAreInItsHints()
    {
        TFakeShell shell;
        auto form = ShownForm(shell);
        TNoteNode* root = form->Notes().Root();
        NoteDataOf(*root).Lines = { "Name", "b ü", "anna", "Zoë", "-3" };
        Named<QTabWidget>(*form, u"PageControl"_s)->setCurrentIndex(1);
        auto* tree = Named(*form, u"NotesTreeView"_s);
        auto* tools = Named<QToolBar>(*form, u"NotesTools"_s);
        auto* memo = Named<QPlainTextEdit>(*form, u"NotesMemo"_s);
        QCOMPARE(Focus(), tree);

        // Tab from the tree reaches the tool bar's first button, Space presses it.
        Press(Qt::Key_Tab);
        QVERIFY(qobject_cast<QToolButton*>(Focus()) && tools->isAncestorOf(Focus()));
        QCOMPARE(qobject_cast<QToolButton*>(Focus())->defaultAction()->objectName(),
            u"AddCategoryButton"_s);
        // F6 goes round tree, tool bar, text; Shift+F6 back.
        tree->setFocus();
        const auto inTools = [tools] { return Focus() && tools->isAncestorOf(Focus()); };
        Press(Qt::Key_F6);
        QVERIFY(inTools());
        Press(Qt::Key_F6);
        QCOMPARE(Focus(), memo);
        Press(Qt::Key_F6);
        QCOMPARE(Focus(), tree);
        Press(Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(Focus(), memo);
        Press(Qt::Key_F6, Qt::ShiftModifier);
        QVERIFY(inTools());

        const struct {
            const char16_t* Action;
            const char16_t* Hint;
        } hints[] = {
            { u"NotesAsMemoButton", u"Show data as text  (^T)" },
            { u"NotesAsGridButton", u"Show data in a table (tabs -> columns)  (^T)" },
            { u"WordWrapButton", u"Toggle Word Wrap  (^W)" },
            { u"bInsert", u"Insert a blank Row here  (^Shift+Ins)" },
            { u"bDelete", u"Delete this Row  (^Shift+Del)" },
            { u"SortButton", u"Sort by Current Column (alpha/numeric)  (^R)" },
        };
        for (const auto& hint : hints)
            QCOMPARE(Named<QAction>(*form, QString::fromUtf16(hint.Action))->toolTip(),
                QString::fromUtf16(hint.Hint));

        // The keys work wherever the focus is on the page.
        memo->setFocus();
        auto* wrap = Named<QAction>(*form, u"WordWrapButton"_s);
        Press(Qt::Key_W, Qt::ControlModifier);
        QVERIFY(wrap->isChecked());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        Press(Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!wrap->isChecked());
        tree->setFocus();
        Press(Qt::Key_T, Qt::ControlModifier);
        auto* table = Named<QTableView>(*form, u"NotesGrid"_s);
        QVERIFY(table->isVisible());
        const auto column = [table] {
            QStringList cells;
            for (int row = 0; row < table->model()->rowCount(); ++row)
                cells << table->model()->index(row, 0).data().toString();
            return cells;
        };
        table->setFocus();
        table->setCurrentIndex(table->model()->index(1, 0));
        Press(Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(
            column(), QStringList({ u"-3"_s, u"anna"_s, u"b \u00FC"_s, u"Zo\u00EB"_s, u""_s }));
        table->setCurrentIndex(table->model()->index(2, 0));
        Press(Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(column(),
            QStringList({ u"-3"_s, u"anna"_s, u""_s, u"b \u00FC"_s, u"Zo\u00EB"_s, u""_s }));
        shell.Dialogues.ConfirmAnswers = { true };
        Press(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(
            column(), QStringList({ u"-3"_s, u"anna"_s, u"b \u00FC"_s, u"Zo\u00EB"_s, u""_s }));
        Press(Qt::Key_T, Qt::ControlModifier);
        QVERIFY(memo->isVisible());
        QVERIFY(memo->toPlainText().startsWith(u"Name\n-3\nanna\n"_s));
    }
};

QTEST_MAIN(TestKeyboardUse)
#include "tst_KeyboardUse.moc"
