#include "controls/Contrast.h"
#include "diary/DiaryStore.h"
#include "diary/FakeDiaryView.h"
#include "platform/Clipboard.h"
#include "schedule/ScheduleForm.h"
#include "schedule/ScheduleGrid.h"
#include "schedule/ScheduleModel.h"
#include "settings/MemorySettingsBackend.h"
#include "settings/Settings.h"
#include "settings/SettingsConvert.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace
{

// A diary opened on 15 May 2026 at 09:00 and a schedule window over it.
struct TScheduleFixture {
    TFixedClock Clock { EncodeDate(2026, 5, 15) + EncodeTime(9, 0) };
    TDiaryStore Store { Clock };
    TFakeDiaryView View;
    TSettings Options;
    TMemoryClipboard Clipboard;
    TSettingsStore Settings { std::make_unique<TMemorySettingsBackend>() };

    TScheduleFixture()
    {
        View.Store = &Store;
        Store.SetView(&View);
        TIoError ioError;
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), ioError);
    }
    void Add(int month, int day, uint16_t time, const char* text, TEventType type = etAlarm)
    {
        TEventLink& end = ListEnd(Store.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Time = time;
        end->Description = text;
        end->EventType = type;
    }
    std::unique_ptr<TScheduleForm> Open()
    {
        auto form = std::make_unique<TScheduleForm>(Store, Clock, Options, Clipboard, Settings);
        new QAbstractItemModelTester(
            &form->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest, form.get());
        form->OpenSchedule();
        return form;
    }
};

QColor CellColour(const QModelIndex& index, int role)
{
    return index.data(role).value<QColor>();
}

} // namespace

class TestScheduleForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowHasItsControlsAndStoredPlace()
    {
        TScheduleFixture f;
        auto form
            = std::make_unique<TScheduleForm>(f.Store, f.Clock, f.Options, f.Clipboard, f.Settings);
        QCOMPARE(form->windowTitle(), u"Schedule"_s);
        QCOMPARE(form->minimumSize(), QSize(350, 200));
        QCOMPARE(form->Placement(), TScheduleForm::DesignedPlacement);
        QVERIFY(form->findChild<QPushButton*>(u"GoThere"_s)->isDefault());
        QCOMPARE(form->findChild<QCheckBox*>(u"ShowAll"_s)->text(), u"Show All Events"_s);
        const QStringList captions { u"Copy"_s, u"Go There"_s, u"Refresh"_s, u"OK"_s };
        const QStringList names { u"Copy"_s, u"GoThere"_s, u"Refresh"_s, u"CloseBtn"_s };
        form->show();
        int left = -1;
        for (int i = 0; i < names.size(); ++i) {
            auto* button = form->findChild<QPushButton*>(names[i]);
            QCOMPARE(button->text(), captions[i]);
            QVERIFY(button->x() > left);
            left = button->x();
        }
        f.Settings.OpenSettings();
        f.Settings.WriteSettingInt("SchWinLeft", 40);
        f.Settings.WriteSettingInt("SchWinHeight", 300);
        f.Settings.CloseSettings();
        TScheduleForm placed(f.Store, f.Clock, f.Options, f.Clipboard, f.Settings);
        QCOMPARE(placed.Placement(), (std::array<int32_t, 4> { 40, 62, 468, 300 }));
    }

    void rowsCarryTheirClassColoursImagesAndDates()
    {
        TScheduleFixture f;
        f.Options.ColourToday = QColorToColour(QColor(255, 255, 0));
        f.Add(5, 14, 800, "yesterday");
        f.Add(5, 15, 800, "eight");
        f.Add(5, 15, 1000, "ten");
        f.Add(5, 16, 0, "tomorrow", etCrossed);
        f.Add(5, 16, 0, "tomorrow too");
        auto form = f.Open();
        f.Add(5, 20, 800, "added after the fill");
        const TScheduleModel& model = form->Model();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(form->findChild<QCheckBox*>(u"ShowAll"_s)->isChecked(), false);
        // The latest overdue alarm is the current row.
        QCOMPARE(form->Grid()->Row(), 2);
        const QColor overdue = ColourToQColor(f.Options.ColourOverdue);
        const QColor coming = ColourToQColor(f.Options.ColourComingUp);
        struct TRow {
            QColor Ink;
            bool Today;
            int Image;
            bool ShowsDate;
            QString Time;
        };
        const TRow rows[4]
            = { { overdue, false, 4, true, u"08:00"_s }, { overdue, true, 4, true, u"08:00"_s },
                  { coming, true, 1, false, u"10:00"_s }, { coming, false, 1, true, QString() } };
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(CellColour(model.index(r, 3), Qt::ForegroundRole), rows[r].Ink);
            QCOMPARE(model.index(r, 3).data(Qt::BackgroundRole).isValid(), rows[r].Today);
            QCOMPARE(model.index(r, 0).data(TScheduleModel::ImageRole).toInt(), rows[r].Image);
            QCOMPARE(model.index(r, 1).data().toString().isEmpty(), !rows[r].ShowsDate);
            QCOMPARE(model.index(r, 1).data(TScheduleModel::UnderlineRole).toBool(), rows[r].Today);
            QCOMPARE(model.index(r, 2).data().toString(), rows[r].Time);
        }
        // On a dark desktop the same inks are lightened until they read.
        const QPalette light = QGuiApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Base, QColor(35, 38, 41));
        QGuiApplication::setPalette(dark);
        for (const int r : { 0, 3 })
            QVERIFY(
                ContrastRatio(CellColour(model.index(r, 3), Qt::ForegroundRole), QColor(35, 38, 41))
                >= LegibleRatio);
        QGuiApplication::setPalette(light);
        // The empty last row draws nothing.
        QVERIFY(!model.index(4, 3).data().isValid());
        QCOMPARE(model.index(4, 0).data(TScheduleModel::ImageRole).toInt(), -1);

        // Drawn: today's rows on the today colour, the selected row included.
        form->resize(600, 300);
        const QImage image = form->Grid()->viewport()->grab().toImage();
        const QRect selected = form->Grid()->visualRect(model.index(1, 3));
        QCOMPARE(
            image.pixelColor(selected.right() - 2, selected.center().y()), QColor(255, 255, 0));
        const QRect other = form->Grid()->visualRect(model.index(0, 3));
        QCOMPARE(image.pixelColor(other.right() - 2, other.center().y()),
            form->Grid()->palette().color(QPalette::Active, QPalette::Base));

        // Show All lists the cancelled event too.
        form->findChild<QCheckBox*>(u"ShowAll"_s)->click();
        QCOMPARE(model.rowCount(), 7);
        QCOMPARE(model.index(3, 0).data(TScheduleModel::ImageRole).toInt(), 3);
    }

    void todaysRowsWithoutADescriptionKeepTheTodayColour()
    {
        TScheduleFixture f;
        TScheduleModel model(f.Clock, f.Options);
        TScheduleList list;
        for (const TDateTime when : { EncodeDate(2026, 5, 15) + EncodeTime(11, 0),
                 EncodeDate(2026, 5, 16) + EncodeTime(8, 0) })
            list.Elements.push_back(TElement { etAlarm, false, when, "", 1 });
        model.SetList(std::move(list));
        QVERIFY(model.index(0, 3).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model.index(1, 3).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(0, 0).data(TScheduleModel::ImageRole).toInt(), -1);
    }

    void copyAndGoThere()
    {
        TScheduleFixture f;
        f.Add(5, 5, 930, "Dentist");
        f.Add(5, 20, 800, "Tax");
        f.Add(5, 20, 900, "Car");
        auto form = f.Open();
        form->findChild<QPushButton*>(u"Copy"_s)->click();
        QCOMPARE(f.Clipboard.Text(),
            u"05 May 2026\t09:30\tAlarm\tDentist\r\n20 May 2026\t08:00\tAlarm\tTax\r\n"
            "20 May 2026\t09:00\tAlarm\tCar\r\n"_s);

        QSignalSpy spy(form.get(), &TScheduleForm::GoThereRequested);
        form->Grid()->SetRow(3);
        form->findChild<QPushButton*>(u"GoThere"_s)->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].toDouble(), EncodeDate(2026, 5, 20));
        QCOMPARE(spy[0][1].toInt(), 2);
        // A double click on a row goes there as well; the empty last row goes nowhere.
        const QRect cell = form->Grid()->visualRect(form->Model().index(0, 3));
        QTest::mouseDClick(form->Grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy[1][0].toDouble(), EncodeDate(2026, 5, 5));
        form->Grid()->SetRow(4);
        form->GoThereClick();
        QCOMPARE(spy.count(), 2);
        QVERIFY(form->isVisible());

        // With nothing listed, Copy empties the clipboard.
        FreeEventsFrom(f.Store.DiaryDays[DayIndex(5, 5)]);
        FreeEventsFrom(f.Store.DiaryDays[DayIndex(5, 20)]);
        form->RefreshClick();
        QCOMPARE(form->Model().rowCount(), 1);
        form->CopyClick();
        QCOMPARE(f.Clipboard.Text(), QString());
    }
};

QTEST_MAIN(TestScheduleForm)
#include "tst_ScheduleForm.moc"
