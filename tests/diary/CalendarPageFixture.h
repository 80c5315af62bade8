#pragma once

#include "controls/FakeDialogues.h"
#include "controls/FontStyles.h"
#include "controls/SimpleCalendar.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryGridModel.h"
#include "diary/DiaryStore.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"
#include "platform/Desktop.h"
#include "platform/FakeDesktop.h"

#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <memory>

// A diary page over a store opened in an empty folder, shown, with today
// Wednesday 5 March 2025 at noon: the diary window runs from February 2025 to
// January 2026.
class TCalendarPageFixture
{
public:
    TFixedClock Clock { EncodeDate(2025, 3, 5) + EncodeTime(12, 0) };
    TFakeDialogues Dialogues;
    TMemoryClipboard Clipboard;
    TFakeDesktop Desktop;
    QString StatusText;
    std::unique_ptr<QTemporaryDir> Folder;
    std::unique_ptr<TDiaryStore> Store;
    QUndoStack History;
    std::unique_ptr<TCalendarPage> Page;

    bool Start(QSize size = QSize(560, 380))
    {
        Folder = std::make_unique<QTemporaryDir>();
        Store = std::make_unique<TDiaryStore>(Clock);
        History.clear();
        Page = std::make_unique<TCalendarPage>(*Store, History, Clock, Dialogues, Clipboard,
            Desktop, FolderPath(), [this](const QString& text) { StatusText = text; });
        Store->SetView(Page.get());
        TIoError ioError;
        Store->OpenDiary(FolderPath(), ioError);
        Page->resize(size);
        Page->show();
        Page->activateWindow();
        return QTest::qWaitForWindowActive(Page.get());
    }

    void Stop()
    {
        Page.reset();
        Store.reset();
        Folder.reset();
    }

    std::filesystem::path FolderPath() const { return Folder->path().toStdString(); }

    QTableView* Grid() const { return Page->Grid(); }
    QAbstractItemModel* Model() const { return Grid()->model(); }
    QMenu* Menu(const QString& name) const { return Page->findChild<QMenu*>(name); }
    QAction* Action(const QString& name) const { return Page->findChild<QAction*>(name); }

    // Events straight into a day's stored list.
    TDiaryEvent& Add(int month, int day, uint16_t time, const std::string& text,
        TEventType type = etAlarm, uint8_t locked = 0)
    {
        TEventLink& end = ListEnd(Store->DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Time = time;
        end->Description = text;
        end->EventType = type;
        end->Locked = locked;
        return *end;
    }
    std::vector<std::string> Day(int month, int day) const
    {
        std::vector<std::string> out;
        for (const TDiaryEvent* e = Store->DiaryDays[DayIndex(month, day)].get(); e;
             e = e->Next.get())
            out.push_back(Show(*e));
        return out;
    }
    static std::string Show(const TDiaryEvent& e)
    {
        return std::to_string(e.Locked) + "/" + std::to_string(e.EventType) + "/"
            + std::to_string(e.Time) + "/" + e.Description;
    }

    void Choose(int year, int month, int day)
    {
        Page->CalendarControl()->SetDate(EncodeDate(year, month, day));
    }

    // Cells as the page counts them: row 1 is the first event row.
    QString Text(int column, int row) const
    {
        return Model()->index(row - 1, column).data().toString();
    }
    int Image(int column, int row) const
    {
        return Model()->index(row - 1, column).data(TDiaryGridModel::ImageRole).toInt();
    }
    QPoint CellCentre(int column, int row) const
    {
        return Grid()->visualRect(Model()->index(row - 1, column)).center();
    }
    void Click(int column, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Grid()->viewport(), button, {}, CellCentre(column, row));
    }
    // Keys go where the keyboard's focus is, as typing does: the grid, or
    // its cell editor once a key has opened it.
    void Keys(const QString& keys)
    {
        for (const QChar key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }
    void Type(int column, int row, const QString& keys)
    {
        Click(column, row);
        Keys(keys);
    }
    // A second click on a description opens it for adding to.
    void Append(int row, const QString& keys)
    {
        Click(3, row);
        Click(3, row);
        Keys(keys);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // A right click on an event row's cell and one of the pop-up's items.
    void MenuCommand(int column, int row, const QString& item)
    {
        Click(column, row, Qt::RightButton);
        QMenu* menu = Menu(QStringLiteral("pmDiary"));
        QVERIFY(menu->isVisible());
        menu->hide();
        Action(item)->trigger();
    }

    TFontStyles DayStyle(int year, int month, int day) const
    {
        TFontStyles styles;
        Page->CalendarDayFontStyle(uint16_t(year), uint16_t(month), uint16_t(day), styles);
        return styles;
    }
};
