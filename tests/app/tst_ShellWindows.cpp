#include "FakeShell.h"
#include "app/TrayController.h"
#include "app/WindowPlacement.h"
#include "diary/CalendarPage.h"
#include "find/FindForm.h"
#include "notes/NotesPage.h"
#include "schedule/ScheduleForm.h"
#include "schedule/ScheduleGrid.h"
#include "schedule/ScheduleModel.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace
{

void AddEvent(TTalvoForm& form, int month, int day, uint16_t time, const char* text)
{
    TEventLink& end = ListEnd(form.Diary().DiaryDays[DayIndex(month, day)]);
    end = NewEvent();
    end->Time = time;
    end->Description = text;
    end->EventType = etAlarm;
}

} // namespace

// The secondary windows as the main window opens them.
class TestShellWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scheduleOpensFromItsThreePlacesOnFirstUse()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(!form->findChild<TScheduleForm*>());
        AddEvent(*form, 12, 20, 800, "Party");
        form->CalendarPage()->findChild<QPushButton*>(u"ScheduleButton"_s)->click();
        TScheduleForm* schedule = form->findChild<TScheduleForm*>();
        QVERIFY(schedule && schedule->isVisible());
        QCOMPARE(schedule->Model().rowCount(), 2);

        schedule->hide();
        AddEvent(*form, 12, 21, 800, "More");
        form->Tray().ShowSched->trigger();
        QVERIFY(schedule->isVisible());
        QCOMPARE(form->findChild<TScheduleForm*>(), schedule);
        QCOMPARE(schedule->Model().rowCount(), 3);

        schedule->hide();
        form->activateWindow();
        form->CalendarPage()->Grid()->setFocus();
        QTest::keyClick(form->CalendarPage()->Grid(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(schedule->isVisible());
        // Ctrl+S on the calculator page is not the schedule's.
        schedule->hide();
        Pages(*form)->setCurrentIndex(TTalvoForm::CalculatorPageIndex);
        QTest::keyClick(Pages(*form)->currentWidget(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!schedule->isVisible());
    }

    void goThereSelectsTheEventsDayRowAndTypeColumn()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        AddEvent(*form, 12, 20, 800, "Tax");
        AddEvent(*form, 12, 20, 900, "Car");
        Pages(*form)->setCurrentIndex(TTalvoForm::CalculatorPageIndex);
        form->ScheduleButtonClick();
        TScheduleForm* schedule = form->findChild<TScheduleForm*>();
        schedule->Grid()->SetRow(2);
        schedule->findChild<QPushButton*>(u"GoThere"_s)->click();
        QCOMPARE(Pages(*form)->currentIndex(), int(TTalvoForm::CalendarPageIndex));
        QCOMPARE(form->CalendarPage()->CalendarDate(), EncodeDate(2026, 12, 20));
        QCOMPARE(form->Diary().SelectedDay, DayIndex(12, 20));
        QCOMPARE(form->CalendarPage()->GridRow(), 2);
        QCOMPARE(form->CalendarPage()->GridColumn(), 1);
        QVERIFY(schedule->isVisible());
        // No tool window, which the desktop would keep above the diary.
        QCOMPARE(schedule->windowType(), Qt::Window);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        // A hidden main window comes back from the tray.
        form->HideToTray();
        QVERIFY(form->HiddenInTray());
        QVERIFY(!schedule->isVisible());
        form->Tray().ShowSched->trigger();
        schedule->Grid()->SetRow(1);
        schedule->GoThereClick();
        QVERIFY(!form->HiddenInTray());
        QVERIFY(form->isVisible());
        QCOMPARE(form->CalendarPage()->GridRow(), 1);
    }

    void aPositionPastTheDiaryGridStopsAtItsLastRow()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        for (int i = 0; i < 30; ++i)
            AddEvent(*form, 12, 22, static_cast<uint16_t>(100 + i), "busy");
        form->ScheduleGoThere(EncodeDate(2026, 12, 22), 27);
        QCOMPARE(form->CalendarPage()->CalendarDate(), EncodeDate(2026, 12, 22));
        QCOMPARE(form->CalendarPage()->GridRow(), 23);
    }

    void schedulePlaceIsWrittenAtExitWhetherOrNotItWasOpened()
    {
        TFakeShell shell;
        shell.StoredSettings.insert_or_assign("SchWinLeft", std::string("33"));
        auto first = shell.Start();
        QVERIFY(first->ExitClick());
        QCOMPARE(shell.Stored("SchWinLeft"), "33");
        QCOMPARE(shell.Stored("SchWinWidth"), "468");
        auto form = shell.Start();
        form->ScheduleWindow().move(50, 70);
        QVERIFY(form->ExitClick());
        QCOMPARE(shell.Stored("SchWinLeft"), "50");
    }

    void findSelectsTheNextDayWithTheTextAndItsDescriptionCell()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        AddEvent(*form, 12, 3, 800, "buy milk");
        AddEvent(*form, 12, 10, 800, "lunch");
        AddEvent(*form, 12, 10, 900, "see the Dentist");
        form->CalendarPage()->SelectDayCell(EncodeDate(2026, 12, 3), 1, 1);
        QTest::keyClick(form->CalendarPage()->Grid(), Qt::Key_F, Qt::ControlModifier);
        TFindForm* find = form->findChild<TFindForm*>();
        QVERIFY(find && find->isVisible());
        // Beside the main window, where the screen has room for it.
        QVERIFY(!find->frameGeometry().intersects(form->frameGeometry()));
        QTest::keyClicks(find->Target()->lineEdit(), u"DENTIST"_s);
        QTest::keyClick(find->Target()->lineEdit(), Qt::Key_Return);
        QCOMPARE(form->CalendarPage()->CalendarDate(), EncodeDate(2026, 12, 10));
        QCOMPARE(form->CalendarPage()->GridRow(), 2);
        QCOMPARE(form->CalendarPage()->GridColumn(), 3);
        QVERIFY(shell.Dialogues.Infos.isEmpty());

        find->Target()->lineEdit()->clear();
        QTest::keyClicks(find->Target()->lineEdit(), u"cheese"_s);
        find->FindNextClick();
        QCOMPARE(shell.Dialogues.Infos, QStringList { u"Item NOT Found"_s });
        QCOMPARE(form->CalendarPage()->CalendarDate(), EncodeDate(2026, 12, 10));

        // The calculator has nothing to find; the window is shown where it was left.
        find->FindCloseClick();
        find->move(200, 150);
        Pages(*form)->setCurrentIndex(TTalvoForm::CalculatorPageIndex);
        form->FindButtonClick();
        QCOMPARE(find->pos(), QPoint(200, 150));
        find->FindNextClick();
        QCOMPARE(shell.Dialogues.Infos.size(), 1);

        // The diary page's "Find" button.
        find->hide();
        Pages(*form)->setCurrentIndex(TTalvoForm::CalendarPageIndex);
        form->CalendarPage()->findChild<QPushButton*>(u"DiaryFindButton"_s)->click();
        QVERIFY(find->isVisible());
    }

    void theFindWindowMovesOffWhatItFound()
    {
        TFakeShell shell;
        auto form = shell.Start();
        const QRect area = form->screen()->availableGeometry();
        // A window as large as the screen leaves no room beside it.
        form->setGeometry(area);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int day = 1; day <= 9; ++day)
            AddEvent(*form, 12, day, 800, "x");
        AddEvent(*form, 12, 8, 900, "réunion");
        AddEvent(*form, 12, 9, 930, "y");
        AddEvent(*form, 12, 9, 1000, "Réunion -2");
        form->FindButtonClick();
        TFindForm* find = form->findChild<TFindForm*>();
        QVERIFY(find && find->isVisible());
        QTableView* grid = form->CalendarPage()->Grid();
        for (const int expectedRow : { 2, 3 }) {
            // Put the window over the rows where the hits will show.
            const QRect rows(grid->viewport()->mapToGlobal(QPoint(0, 0)), grid->viewport()->size());
            find->move(rows.left() + 20, rows.top());
            find->Target()->setEditText(u"r\u00E9union"_s);
            find->FindNextClick();
            QCOMPARE(form->CalendarPage()->GridRow(), expectedRow);
            const QRect cell = grid->visualRect(grid->currentIndex());
            const QRect hit(grid->viewport()->mapToGlobal(QPoint(0, cell.top())),
                QSize(grid->viewport()->width(), cell.height()));
            const QRect header(grid->mapToGlobal(grid->horizontalHeader()->pos()),
                grid->horizontalHeader()->size());
            QVERIFY2(!find->frameGeometry().intersects(hit),
                qPrintable(QDebug::toString(find->frameGeometry())));
            QVERIFY(!find->frameGeometry().intersects(header));
            QVERIFY(area.contains(find->frameGeometry()));
        }
    }

    void placesClearOfARectangleStayOnTheArea()
    {
        const QRect area(0, 0, 1000, 700);
        const struct {
            QRect Window, Avoid, Placed;
        } cases[] = {
            // Clear already: stays.
            { { 10, 10, 200, 50 }, { 300, 300, 100, 20 }, { 10, 10, 200, 50 } },
            // Over a row: the nearest way off, below it or above it.
            { { 100, 300, 200, 50 }, { 0, 310, 600, 20 }, { 100, 330, 200, 50 } },
            { { 100, 300, 200, 50 }, { 0, 330, 600, 20 }, { 100, 280, 200, 50 } },
            // Over a window: next to it, on the nearer side.
            { { 100, 100, 230, 60 }, { 0, 0, 560, 440 }, { 100, 440, 230, 60 } },
            { { 300, 100, 230, 60 }, { 0, 0, 560, 140 }, { 300, 140, 230, 60 } },
            { { 600, 100, 230, 60 }, { 500, 0, 500, 440 }, { 270, 100, 230, 60 } },
            // No side fits: where it covers least, on the area.
            { { 100, 100, 230, 60 }, { -5, -5, 1010, 710 }, { 100, 100, 230, 60 } },
            // Off the area, and larger than what is left beside: pulled on.
            { { -50, 650, 200, 100 }, { 0, 0, 100, 100 }, { 0, 600, 200, 100 } },
        };
        for (const auto& c : cases)
            QCOMPARE(PlaceClearOf(c.Window, c.Avoid, area), c.Placed);
    }

    void findInTheNotesGoesDownTheTreeWithTheCaretOnTheHit()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        TNoteNode* root = form->Notes().Root();
        TNoteNode* books = root->Children[0].get();
        TNoteNode* work = root->Children[1]->Children[0].get();
        TNoteNode* home = root->Children[1]->Children[1].get();
        NoteDataOf(*books).Lines = { "nothing here" };
        NoteDataOf(*work).Lines = { "call the plumber", "Plumber again" };
        NoteDataOf(*home).Lines = { "plumber at home" };
        Pages(*form)->setCurrentIndex(TTalvoForm::NotesTreePageIndex);
        TNotesPage* page = form->NotesPage();
        QCOMPARE(page->Selected(), root);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        page->TreeView()->setFocus();
        QTest::keyClick(page->TreeView(), Qt::Key_F, Qt::ControlModifier);
        TFindForm* find = form->findChild<TFindForm*>();
        QVERIFY(find && find->isVisible());
        QLineEdit* edit = find->Target()->lineEdit();
        QTest::keyClicks(edit, u"PLUMBER"_s);
        auto* memo = qobject_cast<QPlainTextEdit*>(page->Editor().Memo());
        QVERIFY(memo);
        struct TStep {
            TNoteNode* Node;
            int Caret;
        };
        // Document positions: a line break counts one character there.
        const TStep steps[] = { { work, 9 }, { work, 17 }, { home, 0 } };
        for (const TStep& step : steps) {
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(page->Selected(), step.Node);
            QCOMPARE(memo->textCursor().selectionStart(), step.Caret);
            QCOMPARE(memo->textCursor().selectedText().toUpper(), u"PLUMBER"_s);
        }
        QVERIFY(shell.Dialogues.Infos.isEmpty());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(shell.Dialogues.Infos, QStringList { u"Item NOT Found"_s });
        QCOMPARE(page->Selected(), home);

        // A category's name: the tree gets the focus.
        page->SelectCategory(root);
        edit->clear();
        QTest::keyClicks(edit, u"to do"_s);
        find->FindNextClick();
        QCOMPARE(page->Selected(), root->Children[1].get());
        QVERIFY(page->TreeView()->hasFocus() || !QApplication::focusWidget());

        // Any script in any case: the hit is selected in the memo as written.
        NoteDataOf(*home).Lines = { "東京 😀 ŁÓDŹ" };
        edit->clear();
        edit->insert(u"łódź"_s);
        find->FindNextClick();
        QCOMPARE(page->Selected(), home);
        QCOMPARE(memo->textCursor().selectionStart(), 6);
        QCOMPARE(memo->textCursor().selectedText(), u"ŁÓDŹ"_s);

        // The notes tool bar's find button.
        find->FindCloseClick();
        QVERIFY(!find->isVisible());
        page->bFind->trigger();
        QVERIFY(find->isVisible());
    }

    void findNextInTheNotesGoesOnFromTheCharacterAfterTheHitsStart()
    {
        struct TCase {
            const char* Text;
            const char16_t* Find;
            std::vector<int> Hits;
        };
        // The first search starts after the character at the caret (the text's start).
        const TCase cases[] = { { "xabab", u"ab", { 1, 3 } }, { "aaaa", u"AA", { 1, 2 } },
            { "Ab ab\tab é", u"aB", { 3, 6 } } };
        for (const TCase& c : cases) {
            TFakeShell shell;
            auto form = shell.Start();
            form->show();
            TNoteNode* root = form->Notes().Root();
            NoteDataOf(*root).Lines = { c.Text };
            Pages(*form)->setCurrentIndex(TTalvoForm::NotesTreePageIndex);
            TNotesPage* page = form->NotesPage();
            page->NotesChange(root);
            TFindForm& find = form->FindWindow();
            find.Target()->setEditText(QString::fromUtf16(c.Find));
            auto* memo = qobject_cast<QPlainTextEdit*>(page->Editor().Memo());
            for (const int hit : c.Hits) {
                find.FindNextClick();
                QCOMPARE(page->Selected(), root);
                QCOMPARE(memo->textCursor().selectionStart(), hit);
                // The hit stays highlighted.
                QCOMPARE(memo->textCursor().selectedText().toUpper(),
                    QString::fromUtf16(c.Find).toUpper());
            }
            QVERIFY(shell.Dialogues.Infos.isEmpty());
            find.FindNextClick();
            QCOMPARE(shell.Dialogues.Infos, QStringList { u"Item NOT Found"_s });
        }
    }
};

QTEST_MAIN(TestShellWindows)
#include "tst_ShellWindows.moc"
