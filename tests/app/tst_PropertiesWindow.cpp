#include "FakeShell.h"
#include "app/TrayController.h"
#include "controls/SimpleCalendar.h"
#include "diary/CalendarPage.h"
#include "settings/FakePickers.h"
#include "settings/PropertiesForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// A main window whose properties window answers from fake dialogs.
struct TPropertiesShell {
    TFakeShell Shell;
    TFakePickers Pickers;
    std::unique_ptr<TTalvoForm> Form;

    TPropertiesShell()
    {
        Shell.Services.Pickers = &Pickers;
        Form = Shell.Start();
        Form->show();
    }
    TPropertiesForm& Open()
    {
        Form->Tray().Properties->trigger();
        return *Form->PropertiesForm();
    }
    void Click(const QString& name)
    {
        QAbstractButton* button = Form->PropertiesForm()->findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }
};

} // namespace

class TestPropertiesWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theTrayOpensOneWindowWhoseFontReachesTheGridsOnApply()
    {
        TPropertiesShell p;
        QVERIFY(!p.Form->PropertiesForm()); // made on first use
        TPropertiesForm& window = p.Open();
        QVERIFY(window.isVisible());
        QCOMPARE(&p.Open(), &window);

        QTableView* grid = p.Form->CalendarPage()->Grid();
        const QFont before = grid->font();
        p.Pickers.Fonts = { { "Courier New", 14, fsBold } };
        p.Click(u"bFont"_s);
        QCOMPARE(grid->font(), before);
        p.Click(u"bApply"_s);
        QCOMPARE(grid->font().family(), u"Courier New"_s);
        QCOMPARE(grid->font().pointSize(), 14);
        p.Click(u"bCancel"_s);
        QCOMPARE(grid->font().pointSize(), before.pointSize());

        p.Open();
        p.Pickers.Fonts = { { "Courier New", 14, fsBold } };
        p.Click(u"bFont"_s);
        p.Click(u"bOK"_s);
        QVERIFY(!window.isVisible());
        QCOMPARE(grid->font().pointSize(), 14);
        QCOMPARE(p.Shell.Stored("FontName"), "Courier New");
        QCOMPARE(p.Shell.Stored("FontStyle"), "1");
    }

    void onTopWithApplyAndItsRelease()
    {
        TPropertiesShell p;
        QVERIFY(QTest::qWaitForWindowExposed(p.Form.get()));
        TPropertiesForm& window = p.Open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        p.Click(u"cbOnTop"_s);
        QVERIFY(!p.Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        p.Click(u"bApply"_s);
        QVERIFY(p.Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        p.Click(u"cbOnTop"_s);
        p.Click(u"bApply"_s);
        QVERIFY(!p.Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void hidingToTheTrayClosesItWithoutSavingRevertingOrApplying()
    {
        TPropertiesShell p;
        TSimpleCalendar* calendar = p.Form->CalendarPage()->CalendarControl();
        const QColor body = calendar->CalColor();
        TPropertiesForm& window = p.Open();
        p.Pickers.Colours = { RgbColour(0, 128, 0) };
        p.Click(u"bCalendar"_s);
        p.Click(u"rgModemPort3"_s);
        p.Form->close();
        QVERIFY(p.Form->HiddenInTray());
        QVERIFY(!window.isVisible());
        QCOMPARE(calendar->CalColor(), body);
        QCOMPARE(p.Form->Options().ModemPort, 3); // still read where it is used
        QCOMPARE(p.Form->Options().ColourCalendar, RgbColour(0, 128, 0));
        QCOMPARE(p.Shell.Stored("ModemPort"), "<absent>");
    }
};

QTEST_MAIN(TestPropertiesWindow)
#include "tst_PropertiesWindow.moc"
