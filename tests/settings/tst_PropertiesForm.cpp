#include "controls/Contrast.h"
#include "controls/FakeDialogues.h"
#include "platform/FakeSoundPlayer.h"
#include "platform/SoundPlayer.h"
#include "settings/FakePickers.h"
#include "settings/FontPicker.h"
#include "settings/MemorySettingsBackend.h"
#include "settings/PropertiesForm.h"
#include "settings/SettingsConvert.h"
#include "settings/SettingsStore.h"
#include "settings/SyncOptions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// A properties window over an in-memory store, with the options it edits and
// a record of every time they were applied.
struct TFixture {
    TMemorySettingsBackend* Backend = new TMemorySettingsBackend;
    TSettingsStore Store { std::unique_ptr<ISettingsBackend>(Backend) };
    TSettings Settings;
    TFakeSoundPlayer Sound;
    TFakeDialogues Dialogues;
    TFakePickers Pickers;
    std::vector<TSettings> Applied;
    TPropertiesForm Form { Settings, Store, Sound, Dialogues, Pickers,
        [this] { Applied.push_back(Settings); } };

    template <typename T = QAbstractButton> T* Find(const QString& name)
    {
        T* found = Form.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    void Click(const QString& name) { Find(name)->click(); }
    // The colours the sample is painted in.
    QColor Background(const QString& sample)
    {
        const QWidget* widget = Find<QWidget>(sample);
        return widget->palette().color(widget->backgroundRole());
    }
    QColor Ink(const QString& sample)
    {
        const QWidget* widget = Find<QWidget>(sample);
        return widget->palette().color(widget->foregroundRole());
    }
    // Typed key by key, as QTest::keyClicks cannot for letters beyond ASCII.
    void Type(const QString& edit, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(
                QTest::Click, Find<QLineEdit>(edit), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void Show()
    {
        Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form));
    }
};

// The sync behind the "Sync" group: what it was handed, and the calendars it
// answers with.
struct TFakeSyncControl final : ISyncControl {
    void FindCalendars(const QString& password, TFound done) override
    {
        Asked.push_back(password);
        done(Error, Calendars);
    }
    void SetPassword(const QString& password) override { Passwords.push_back(password); }
    void SyncNow() override { ++Syncs; }
    QString Error;
    QList<TFoundCalendar> Calendars;
    QStringList Asked;
    QStringList Passwords;
    int Syncs = 0;
};

} // namespace

class TestPropertiesForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aNewCalendarColourIsOnlyASampleUntilApplied()
    {
        TFixture f;
        f.Show();
        f.Pickers.Colours = { RgbColour(200, 0, 0) };
        f.Click(u"bCalendar"_s);
        QCOMPARE(f.Pickers.PresetColour, std::optional<TColour>(SystemColour(0)));
        QCOMPARE(f.Background(u"CalSamplePanel"_s), QColor(200, 0, 0));
        QVERIFY(f.Applied.empty());
        QCOMPARE(f.Backend->Text("ColourCalendar"), "<absent>");

        f.Click(u"bApply"_s);
        QCOMPARE(f.Applied.size(), size_t(1));
        QCOMPARE(f.Applied.back().ColourCalendar, RgbColour(200, 0, 0));
        QVERIFY(f.Form.isVisible());

        f.Click(u"bCancel"_s); // undoes the earlier Apply too
        QVERIFY(!f.Form.isVisible());
        QCOMPARE(f.Settings.ColourCalendar, SystemColour(0));
        QCOMPARE(f.Applied.back().ColourCalendar, SystemColour(0));
        QCOMPARE(f.Background(u"CalSamplePanel"_s), ColourToQColor(SystemColour(0)));
        QCOMPARE(f.Backend->Text("ColourCalendar"), "<absent>");
    }

    void aCancelledColourDialogChangesNothing()
    {
        TFixture f;
        f.Settings.ColourToday = RgbColour(1, 2, 3);
        f.Show();
        f.Click(u"bToday"_s);
        QCOMPARE(f.Pickers.PresetColour, std::optional<TColour>(RgbColour(1, 2, 3)));
        QCOMPARE(f.Settings.ColourToday, RgbColour(1, 2, 3));
    }

    void theScheduleSamplesShowTheFourWaysAnEntryIsColoured()
    {
        TFixture f;
        f.Show();
        f.Pickers.Colours
            = { RgbColour(200, 20, 30), RgbColour(250, 240, 120), RgbColour(20, 40, 160) };
        f.Click(u"bOverdue"_s);
        f.Click(u"bToday"_s);
        f.Click(u"bComing"_s);
        // Read where they are used: no Apply needed.
        QCOMPARE(f.Settings.ColourOverdue, RgbColour(200, 20, 30));
        QCOMPARE(f.Settings.ColourToday, RgbColour(250, 240, 120));
        QCOMPARE(f.Settings.ColourComingUp, RgbColour(20, 40, 160));
        const QColor overdue(200, 20, 30), today(250, 240, 120), coming(20, 40, 160);
        QCOMPARE(f.Ink(u"OverdueLabel"_s), overdue);
        QCOMPARE(f.Ink(u"OverdueTodayLabel"_s), overdue);
        QCOMPARE(f.Background(u"OverdueTodayLabel"_s), today);
        QCOMPARE(f.Ink(u"ComingTodayLabel"_s), coming);
        QCOMPARE(f.Background(u"ComingTodayLabel"_s), today);
        QCOMPARE(f.Ink(u"ComingLabel"_s), coming);
        const QImage filled = f.Find<QWidget>(u"ComingTodayLabel"_s)->grab().toImage();
        QCOMPARE(filled.pixelColor(filled.width() - 2, 1), today);

        // An ink lost on its ground is lightened as the schedule lightens it.
        f.Pickers.Colours = { RgbColour(40, 50, 60) };
        f.Click(u"bToday"_s);
        QVERIFY(ContrastRatio(f.Ink(u"ComingTodayLabel"_s), QColor(40, 50, 60)) >= LegibleRatio);
    }

    void theFontIsTakenOnlyWhenConfirmedAndReachesOthersOnApply()
    {
        TFixture f;
        f.Show();
        f.Click(u"bFont"_s); // cancelled
        QCOMPARE(f.Settings.SettingsFont, TSettingsFont {});
        const TSettingsFont courier { "Courier New", 12, fsItalic };
        f.Pickers.Fonts = { courier };
        f.Click(u"bFont"_s);
        QCOMPARE(f.Settings.SettingsFont, courier);
        QVERIFY(f.Applied.empty());
        f.Click(u"bApply"_s);
        QCOMPARE(f.Applied.back().SettingsFont, courier);
    }

    void optionsAreEditedInPlaceAndSavedByOk()
    {
        TFixture f;
        f.Show();
        f.Click(u"rgModemPort2"_s);
        QCOMPARE(f.Settings.ModemPort, 2); // the dialler sees it at once
        f.Click(u"cbDate"_s);
        QVERIFY(!f.Settings.DateTray);
        f.Click(u"cbOnTop"_s);
        f.Click(u"cbHints"_s);
        QVERIFY(f.Settings.OnTop);
        QVERIFY(!f.Settings.ShowHints);
        QVERIFY(f.Applied.empty());

        f.Click(u"bOK"_s);
        QVERIFY(!f.Form.isVisible());
        QCOMPARE(f.Applied.size(), size_t(1));
        QCOMPARE(f.Backend->Text("ModemPort"), "2");
        QCOMPARE(f.Backend->Text("DateTray"), "0");
        QCOMPARE(f.Backend->Text("OnTop"), "1");
        QCOMPARE(f.Backend->Text("ShowHints"), "0");

        // Cancel brings back the stored port, and the controls show it when reopened.
        f.Show();
        f.Click(u"rgModemPort4"_s);
        f.Click(u"bCancel"_s);
        QCOMPARE(f.Settings.ModemPort, 2);
        f.Show();
        QVERIFY(f.Find(u"rgModemPort2"_s)->isChecked());
        QVERIFY(!f.Find(u"rgModemPort4"_s)->isChecked());
    }

    void noPortChosenShowsNoneSelected()
    {
        TFixture f;
        f.Show();
        for (int i = 0; i < 5; ++i)
            QVERIFY(!f.Find(u"rgModemPort%1"_s.arg(i))->isChecked());
        QVERIFY(f.Find(u"rgAlarmSound0"_s)->isChecked());
    }

    void eachAlarmSoundIsHeardWhenPicked()
    {
        TFixture f;
        f.Click(u"rgAlarmSound2"_s); // hidden: no preview
        QVERIFY(f.Sound.Played.empty());
        f.Show();
        f.Click(u"rgAlarmSound4"_s);
        f.Click(u"rgAlarmSound0"_s);
        QCOMPARE(f.Sound.Played, (std::vector<int32_t> { 4, 0 })); // 0 plays nothing
        QCOMPARE(f.Settings.AlarmSound, 0);
    }

    void eachSoundIsNamedAsHeardAndStoredByItsPlace()
    {
        TFixture f;
        f.Show();
        const QStringList names { u"No Sound"_s, u"Information"_s, u"Warning"_s, u"Error"_s,
            u"Question"_s };
        // Walked backwards, so every click changes the choice.
        for (int item = 4; item >= 0; --item) {
            QAbstractButton* button = f.Find(u"rgAlarmSound%1"_s.arg(item));
#ifndef Q_OS_WIN
            QCOMPARE(button->text(), names[item]);
            // The name says which of the desktop's sounds plays.
            if (item > 0)
                QCOMPARE(QString::fromLatin1(AlarmSoundEventIds(item).front()),
                    u"dialog-"_s + names[item].toLower());
#endif
            button->click();
            QCOMPARE(f.Settings.AlarmSound, item);
        }
        QCOMPARE(f.Sound.Played, (std::vector<int32_t> { 4, 3, 2, 1, 0 }));
    }

    void aRefusedWriteOnOkKeepsTheWindowOpenAndAppliesNothing()
    {
        TFixture f;
        f.Show();
        f.Click(u"rgModemPort1"_s);
        f.Backend->Refused = { "ColourTree" };
        f.Click(u"bOK"_s);
        QCOMPARE(f.Dialogues.ApplicationErrors,
            QStringList { u"Failed to set data for 'ColourTree'"_s });
        QVERIFY(f.Form.isVisible());
        QVERIFY(f.Applied.empty());
        QCOMPARE(f.Backend->Text("ModemPort"), "1"); // written before the refusal
        QCOMPARE(f.Backend->Text("ColourCalculator"), "<absent>");
    }

    void theWindowFitsItsTextsAndStartsNearItsDesignedPlace()
    {
        TFixture f;
        f.Show();
        QVERIFY(f.Form.width() >= TPropertiesForm::DesignedSize.width());
        QVERIFY(f.Form.height() >= TPropertiesForm::DesignedSize.height());
        for (QWidget* control : f.Form.findChildren<QWidget*>())
            if (control->isVisible())
                QVERIFY2(control->width() >= control->minimumSizeHint().width(),
                    qPrintable(control->objectName()));
        QCOMPARE(f.Form.windowTitle(), u"Properties"_s);
        QVERIFY(f.Form.windowFlags().testFlag(Qt::Tool));
        QVERIFY(!f.Form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!f.Form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    void theFontPickerKeepsSizesFromEightToTwentyFour()
    {
        TFontPicker picker;
        auto* size = picker.findChild<QSpinBox*>(u"FontSize"_s);
        picker.SetChosen({ "DejaVu Sans", 30, fsBold | fsUnderline });
        QCOMPARE(picker.Chosen().Size, 24);
        QCOMPARE(picker.Chosen().Style, fsBold | fsUnderline); // no way to change the underline
        picker.SetChosen({ "DejaVu Sans", 3, 0 });
        QCOMPARE(picker.Chosen().Size, 8);
        size->setValue(100);
        QCOMPARE(picker.Chosen().Size, 24);
        size->setValue(1);
        QCOMPARE(picker.Chosen().Size, 8);
        auto* style = picker.findChild<QComboBox*>(u"FontStyle"_s);
        QCOMPARE(style->count(), 4);
        style->setCurrentIndex(3);
        QCOMPARE(picker.Chosen().Style, fsBold | fsItalic);
    }

    // What the user types edits the options in place and reaches the store on
    // OK; the password goes only to the sync, and only when applied.
    void theSyncPartKeepsItsOptionsAndHandsOnlyThePasswordToTheSync()
    {
        TFixture f;
        TFakeSyncControl sync;
        f.Form.SetSyncControl(&sync);
        f.Show();
        QCOMPARE(f.Find<QSpinBox>(u"seSyncInterval"_s)->value(), 5);
        f.Type(u"SyncUrlEdit"_s, u" https://cal.example.org/dav/ "_s);
        f.Type(u"SyncUserEdit"_s, u"Zoë Ångström"_s);
        f.Type(u"SyncPasswordEdit"_s, u"pä ss-Wörd 1"_s);
        f.Find<QSpinBox>(u"seSyncInterval"_s)->setValue(90);
        f.Click(u"cbSyncUnencrypted"_s);
        QCOMPARE(f.Settings.Sync,
            (TSyncSettings { "https://cal.example.org/dav/", "Zoë Ångström", {}, 90, true }));
        QVERIFY(sync.Passwords.isEmpty());

        f.Click(u"bSyncNow"_s); // with the password just typed
        QCOMPARE(sync.Syncs, 1);
        QCOMPARE(sync.Passwords, QStringList { u"pä ss-Wörd 1"_s });
        f.Click(u"bOK"_s);
        QCOMPARE(sync.Passwords.size(), 1); // handed once
        QCOMPARE(f.Backend->Text("SyncUrl"), "https://cal.example.org/dav/");
        QCOMPARE(f.Backend->Text("SyncUser"), "Zoë Ångström");
        QCOMPARE(f.Backend->Text("SyncInterval"), "90");
        QCOMPARE(f.Backend->Text("SyncUnencrypted"), "1");
        for (const auto& [name, value] : f.Backend->Values)
            QVERIFY(f.Backend->Text(name).find("Wörd") == std::string::npos);

        // A password typed and cancelled is forgotten.
        f.Show();
        QVERIFY(f.Find<QLineEdit>(u"SyncPasswordEdit"_s)->text().isEmpty());
        f.Type(u"SyncPasswordEdit"_s, u"wrong"_s);
        f.Click(u"bCancel"_s);
        QCOMPARE(sync.Passwords.size(), 1);
    }

    void theCalendarsFoundAreOfferedAndTheChosenOneKept_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<QList<TFoundCalendar>>("calendars");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("said");
        QTest::newRow("one") << QString() << QList<TFoundCalendar> { { u"/zoë/cal/"_s, {} } }
                             << u"/zoë/cal/"_s << u"One calendar found."_s;
        // The one chosen before stays chosen.
        QTest::newRow("several") << QString()
                                 << QList<TFoundCalendar> { { u"/z/a/"_s, u"Arbeit"_s },
                                        { u"/z/b/"_s, u"Büro"_s }, { u"/z/c/"_s, u"日本"_s } }
                                 << u"/z/b/"_s << u"3 calendars found: choose one."_s;
        QTest::newRow("refused") << u"The server refused the user name or password."_s
                                 << QList<TFoundCalendar> {} << u"/z/b/"_s
                                 << u"The server refused the user name or password."_s;
    }
    void theCalendarsFoundAreOfferedAndTheChosenOneKept()
    {
        QFETCH(QString, error);
        QFETCH(QList<TFoundCalendar>, calendars);
        QFETCH(QString, chosen);
        QFETCH(QString, said);
        TFixture f;
        f.Settings.Sync.Calendar = "/z/b/";
        TFakeSyncControl sync;
        sync.Error = error;
        sync.Calendars = calendars;
        f.Form.SetSyncControl(&sync);
        f.Show();
        f.Click(u"bFindCalendars"_s);
        QCOMPARE(sync.Asked, QStringList { QString() }); // the password known is used
        QCOMPARE(f.Find<QLabel>(u"SyncStatusLabel"_s)->text(), said);
        QCOMPARE(QString::fromStdString(f.Settings.Sync.Calendar), chosen);
        auto* list = f.Find<QComboBox>(u"SyncCalendarList"_s);
        QCOMPARE(list->count(), std::max<int>(calendars.size(), 1));
        if (calendars.size() > 2) {
            QCOMPARE(list->currentText(), u"Büro"_s);
            list->setCurrentIndex(2);
            Q_EMIT list->activated(2);
            QCOMPARE(f.Settings.Sync.Calendar, "/z/c/");
        }
        // Another address forgets the calendar of this one.
        f.Type(u"SyncUrlEdit"_s, u"x"_s);
        QVERIFY(f.Settings.Sync.Calendar.empty());
        QCOMPARE(list->count(), 0);
    }
};

QTEST_MAIN(TestPropertiesForm)
#include "tst_PropertiesForm.moc"
