#include "controls/Contrast.h"
#include "controls/SimpleCalendar.h"
#include "platform/FakeSoundPlayer.h"
#include "settings/ApplySettings.h"
#include "settings/HintSwitch.h"
#include "settings/PaletteColours.h"
#include "settings/SettingsConvert.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{

// The controls of the main window that take the options, under their own names.
struct TWindows {
    QWidget Main;
    QWidget Schedule;
    QTableView* DiaryGrid = new QTableView(&Main);
    QTreeView* NotesTree = new QTreeView(&Main);
    QPlainTextEdit* NotesMemo = new QPlainTextEdit(&Main);
    QTableView* NotesGrid = new QTableView(&Main);
    QTableView* ScheduleGrid = new QTableView(&Schedule);
    QStandardItemModel Notes;
    QAbstractItemModelTester NotesTester { &Notes };
    THintSwitch Hints;
    std::optional<QColor> CalendarColour, CalculatorColour;

    TWindows()
    {
        DiaryGrid->setObjectName(u"CalendarGrid"_s);
        NotesTree->setObjectName(u"NotesTreeView"_s);
        NotesMemo->setObjectName(u"NotesMemo"_s);
        NotesGrid->setObjectName(u"NotesGrid"_s);
        ScheduleGrid->setObjectName(u"ScheduleGrid"_s);
        auto* notes = new QStandardItem(u"My Notes"_s);
        auto* child = new QStandardItem(u"Phone"_s);
        child->appendRow(new QStandardItem(u"Work"_s));
        notes->appendRow(child);
        Notes.appendRow(notes);
        Notes.appendRow(new QStandardItem(u"Other"_s));
        NotesTree->setModel(&Notes);
    }

    TApplyTargets Targets()
    {
        TApplyTargets targets;
        targets.MainWindow = &Main;
        targets.ScheduleWindow = &Schedule;
        targets.Hints = &Hints;
        targets.SetCalendarColour = [this](const QColor& colour) { CalendarColour = colour; };
        targets.DiaryGrid = DiaryGrid;
        targets.NotesTree = NotesTree;
        targets.NotesMemo = NotesMemo;
        targets.NotesGrid = NotesGrid;
        targets.SetCalculatorColour = [this](const QColor& colour) { CalculatorColour = colour; };
        targets.ScheduleGrid = ScheduleGrid;
        return targets;
    }
};

TSettings Chosen()
{
    TSettings settings;
    settings.SettingsFont = { "Courier New", 12, fsBold };
    settings.ColourCalendar = RgbColour(200, 10, 10);
    settings.ColourTree = RgbColour(10, 200, 10);
    settings.ColourCalculator = SystemColour(WindowColourIndex);
    settings.ShowHints = false;
    settings.OnTop = true;
    return settings;
}

QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(45, 45, 48), base(30, 30, 30), light(235, 235, 235);
    for (const auto role : { QPalette::Window, QPalette::Button, QPalette::Dark, QPalette::Mid })
        dark.setColor(role, window);
    dark.setColor(QPalette::Base, base);
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(role, light);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// Whether some pixel of `area` in `image` reads well on `background`.
bool HasLegibleInk(const QImage& image, const QRect& area, const QColor& background)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (ContrastRatio(image.pixelColor(x, y), background) >= 3.0)
                return true;
    return false;
}

} // namespace

class TestApplySettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theSettingsFontReachesEveryTextControl()
    {
        TWindows windows;
        const TSettings settings = Chosen();
        ApplySettings(settings, windows.Targets());
        for (QWidget* control : std::initializer_list<QWidget*> { windows.DiaryGrid,
                 windows.NotesTree, windows.NotesMemo, windows.NotesGrid, windows.ScheduleGrid }) {
            QCOMPARE(control->font().family(), u"Courier New"_s);
            QCOMPARE(control->font().pointSize(), 12);
            QVERIFY(control->font().bold());
        }
        for (QTableView* grid : { windows.DiaryGrid, windows.NotesGrid, windows.ScheduleGrid })
            QCOMPARE(grid->verticalHeader()->defaultSectionSize(),
                7 + qRound(12 * grid->logicalDpiY() / 72.0));
    }

    void theDefaultFontGivesEighteenPixelRowsAtNinetySixDpi()
    {
        TWindows windows;
        if (windows.DiaryGrid->logicalDpiY() != 96)
            QSKIP("the screen is not at 96 dpi");
        QStandardItemModel days(3, 2);
        QAbstractItemModelTester tester(&days);
        windows.DiaryGrid->setModel(&days);
        windows.DiaryGrid->verticalHeader()->setDefaultSectionSize(40);
        ApplySettings(TSettings {}, windows.Targets());
        QCOMPARE(windows.DiaryGrid->rowHeight(2), 18);
        QCOMPARE(windows.DiaryGrid->verticalHeader()->defaultSectionSize(), 18);
        QCOMPARE(windows.NotesGrid->verticalHeader()->defaultSectionSize(), 18);
        QCOMPARE(windows.ScheduleGrid->verticalHeader()->defaultSectionSize(), 18);
    }

    void coloursGoToTheCalendarTheTreeAndTheCalculator()
    {
        TWindows windows;
        const TSettings settings = Chosen();
        ApplySettings(settings, windows.Targets());
        QCOMPARE(windows.CalendarColour, std::optional<QColor>(QColor(200, 10, 10)));
        QCOMPARE(windows.NotesTree->palette().color(QPalette::Base), QColor(10, 200, 10));
        QCOMPARE(windows.CalculatorColour,
            std::optional<QColor>(QApplication::palette().color(QPalette::Base)));
    }

    void theFirstCategoryOpensOneLevel()
    {
        TWindows windows;
        ApplySettings(TSettings {}, windows.Targets());
        const QModelIndex first = windows.Notes.index(0, 0);
        QVERIFY(windows.NotesTree->isExpanded(first));
        QVERIFY(!windows.NotesTree->isExpanded(windows.Notes.index(0, 0, first)));
        QVERIFY(!windows.NotesTree->isExpanded(windows.Notes.index(1, 0)));
    }

    void hintsAndTheTopBandFollowTheOptions()
    {
        TWindows windows;
        windows.Main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&windows.Main));
        const TApplyTargets targets = windows.Targets();
        ApplySettings(Chosen(), targets);
        QVERIFY(!windows.Hints.Enabled());
        QVERIFY(windows.Main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!windows.Schedule.windowFlags().testFlag(Qt::WindowStaysOnTopHint)); // hidden

        ApplySettings(TSettings {}, targets);
        QVERIFY(windows.Hints.Enabled());
        QVERIFY(!windows.Main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void missingWindowsAreSkipped()
    {
        ApplySettings(Chosen(), TApplyTargets {});

        TWindows windows;
        TApplyTargets some;
        some.NotesGrid = windows.NotesGrid;
        some.SetCalculatorColour = [&windows](const QColor& c) { windows.CalculatorColour = c; };
        ApplySettings(Chosen(), some);
        QCOMPARE(windows.NotesGrid->font().family(), u"Courier New"_s);
        QVERIFY(windows.CalculatorColour.has_value());
        QVERIFY(!windows.CalendarColour.has_value());
        QVERIFY(windows.Hints.Enabled());
        QCOMPARE_NE(windows.DiaryGrid->font().family(), u"Courier New"_s);

        QTreeView empty; // a tree without categories, or without a model at all
        some.NotesTree = &empty;
        ApplySettings(Chosen(), some);
        QStandardItemModel nothing;
        empty.setModel(&nothing);
        ApplySettings(Chosen(), some);
        QCOMPARE(empty.font().family(), u"Courier New"_s);
    }

    void desktopColoursFollowAPaletteChangeAndDirectColoursStay()
    {
        const QPalette original = QApplication::palette();
        TSimpleCalendar calendar(EncodeDate(2026, 12, 8));
        calendar.resize(400, 200);
        calendar.show();
        QTreeView tree;
        QColor calculator;
        TPaletteColours colours;
        TApplyTargets targets;
        targets.SetCalendarColour = [&calendar](const QColor& c) { calendar.SetCalColor(c); };
        targets.NotesTree = &tree;
        targets.SetCalculatorColour = [&calculator](const QColor& c) { calculator = c; };
        targets.Colours = &colours;
        TSettings settings; // calendar and tree in the scroll-bar colour
        settings.ColourCalculator = RgbColour(255, 255, 200);
        ApplySettings(settings, targets);
        QCOMPARE(calendar.CalColor(), original.color(QPalette::Button));

        const QPalette dark = DarkPalette();
        QApplication::setPalette(dark);
        const QColor body = dark.color(QPalette::Button);
        QCOMPARE(calendar.CalColor(), body);
        QCOMPARE(tree.palette().color(QPalette::Base), body);
        QVERIFY(ContrastRatio(tree.palette().color(QPalette::Text), body) >= 3.0);
        QCOMPARE(calculator, QColor(255, 255, 200)); // the user's own colour stays
        const QImage painted = calendar.Surface()->grab().toImage();
        const QRect day = *calendar.DayCellRect(EncodeDate(2026, 12, 10));
        QCOMPARE(painted.pixelColor(day.topLeft()), body);
        QVERIFY(HasLegibleInk(painted, day, body));

        // A light colour of the user's own keeps dark text on a dark desktop.
        settings.ColourTree = RgbColour(255, 255, 200);
        ApplySettings(settings, targets);
        QCOMPARE(tree.palette().color(QPalette::Base), QColor(255, 255, 200));
        QVERIFY(ContrastRatio(tree.palette().color(QPalette::Text), QColor(255, 255, 200)) >= 3.0);

        QApplication::setPalette(original);
        QCOMPARE(calendar.CalColor(), original.color(QPalette::Button));
        QCOMPARE(settings.ColourCalendar, SystemColour(ScrollBarColourIndex));
    }

    void theChosenAlarmSoundIsPlayed()
    {
        TFakeSoundPlayer player;
        TSettings settings;
        settings.AlarmSound = 4;
        PlayAlarmSound(player, settings);
        settings.AlarmSound = 0;
        PlayAlarmSound(player, settings);
        QCOMPARE(player.Played, (std::vector<int32_t> { 4, 0 }));
    }
};

QTEST_MAIN(TestApplySettings)
#include "tst_ApplySettings.moc"
