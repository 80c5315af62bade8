#include "FakeShell.h"
#include "app/AboutForm.h"
#include "app/CommandLine.h"
#include "app/TrayController.h"
#include "platform/Autostart.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The main window on a desktop: its menu without a tray, starting with the
// session, starting hidden, and the arguments answered on the terminal.
class TestTalvoFormDesktop : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void menuButtonOffersTheTrayMenuWhereQtReportsNoTray()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        TFakeShell shell;
        TSystemTrayIcon tray;
        TTalvoServices services { shell.Clock, shell.Dialogues, tray, shell.Desktop,
            shell.Clipboard, shell.Sound, [&shell] { return shell.MakeBackend(); },
            shell.Services.DataFolder, shell.Serial };
        TTalvoForm form(services, {});
        QToolButton* button = form.findChild<QToolButton*>(u"MenuButton"_s);
        QCOMPARE(button->objectName(), u"MenuButton"_s);
        QCOMPARE(Pages(form)->cornerWidget(Qt::TopRightCorner), button);
        QCOMPARE(button->menu(), form.Tray().Menu());
        QVERIFY(!button->accessibleName().isEmpty());

        form.ShowAtStart();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(button->isVisible());
        // F10 opens the menu with the tray's states; About from it shows the about box.
        form.AcknowledgeClick();
        QMenu* opened = nullptr;
        QTimer::singleShot(0, this, [&] {
            opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (opened)
                opened->close();
        });
        QTest::keyClick(&form, Qt::Key_F10);
        QTRY_COMPARE(opened, form.Tray().Menu());
        QVERIFY(!form.Tray().Acknowledge->isEnabled());
        form.Tray().About->trigger();
        QVERIFY(form.AboutForm()->isVisible());
    }

    void autostartItemWritesAndRemovesTheSessionEntry()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        const QString entry = config.filePath(u"autostart/Talvo95.desktop"_s);
        TFakeShell shell;
        TSessionAutostart autostart(u"/opt/My Apps/Talvo95"_s);
        shell.Services.Autostart = &autostart;
        auto form = shell.Start();
        QAction* item = form->Tray().MenuAutostart;
        QVERIFY(item->isVisible() && item->isCheckable() && !item->isChecked());

        item->trigger();
        QVERIFY(item->isChecked());
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.contains("\nExec=\"/opt/My Apps/Talvo95\" --hidden\n"));
        const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        if (!validator.isEmpty())
            QCOMPARE(QProcess::execute(validator, { entry }), 0);

        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(!QFile::exists(entry));

        // An entry made elsewhere shows when the menu opens; one that cannot be
        // written is reported and stays unticked.
        QVERIFY(autostart.SetEnabled(true, *std::make_unique<QString>()));
        Q_EMIT form->Tray().Menu()->aboutToShow();
        QVERIFY(item->isChecked());
        QVERIFY(QFile::remove(entry) && QDir(config.path()).rmdir(u"autostart"_s));
        Q_EMIT form->Tray().Menu()->aboutToShow();
        QVERIFY(!item->isChecked());
        QFile blocker(config.filePath(u"autostart"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        item->trigger();
        QVERIFY(!item->isChecked());
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY(shell.Dialogues.Errors[0].contains(u"could not be written"_s));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void autostartItemIsHiddenWithoutAWayToStart()
    {
        TFakeShell shell;
        auto form = shell.Start();
        QVERIFY(!form->Tray().MenuAutostart->isVisible());
    }

    void execLineQuotesWhatTheDesktopWouldSplit()
    {
        const std::pair<QString, QString> cases[] = {
            { u"/usr/bin/Talvo95"_s, u"/usr/bin/Talvo95"_s },
            { u"/home/a b/Talvo95"_s, u"\"/home/a b/Talvo95\""_s },
            { u"/x/100%/T$\"`"_s, u"\"/x/100%%/T\\\\$\\\\\"\\\\`\""_s },
            { u"/x\\y"_s, u"\"/x\\\\\\\\y\""_s },
        };
        for (const auto& [program, argument] : cases)
            QCOMPARE(TSessionAutostart::ExecArgument(program), argument);
    }

    void hiddenStartLeavesOnlyTheTrayIcon()
    {
        TFakeShell shell;
        auto form = shell.Start({ u"--hidden"_s });
        form->ShowAtStart();
        QVERIFY(!form->isVisible());
        QVERIFY(form->HiddenInTray());
        QVERIFY(shell.Tray.Shown);
        QVERIFY(shell.Dialogues.Errors.isEmpty());
        shell.Tray.Click();
        QVERIFY(form->isVisible());

        TFakeShell noTray;
        auto shown = noTray.Start({ u"--hidden"_s, u"-notray"_s });
        shown->ShowAtStart();
        QVERIFY(shown->isVisible());
    }

    void hiddenStartWaitsForALateTrayThenShowsTheWindow()
    {
        TFakeShell late;
        late.Tray.Available = false;
        auto hidden = late.Start({ u"--hidden"_s });
        hidden->ShowAtStart();
        QTest::qWait(TTalvoForm::TrayWaitInterval * 2);
        QVERIFY(!hidden->isVisible());
        late.Tray.Available = true;
        QTRY_VERIFY(hidden->HiddenInTray());
        QVERIFY(!hidden->isVisible());

        TFakeShell never;
        never.Tray.Available = false;
        auto shown = never.Start({ u"--hidden"_s });
        shown->ShowAtStart();
        QTRY_VERIFY_WITH_TIMEOUT(
            shown->isVisible(), TTalvoForm::TrayWaitInterval * (TTalvoForm::TrayWaits + 4));
        QVERIFY(!shown->HiddenInTray());
    }

    void helpAndVersionAnswerOnTheTerminal_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        QTest::newRow("none") << QStringList {} << QString();
        QTest::newRow("others") << QStringList { u"-NOTRAY"_s, u"--hidden"_s, u"/x"_s }
                                << QString();
        QTest::newRow("version") << QStringList { u"--version"_s } << u"Talvo95 1.0.0.0\n"_s;
        QTest::newRow("help wins")
            << QStringList { u"--version"_s, u"-notray"_s, u"--help"_s } << u"Usage:"_s;
        QTest::newRow("any case is not these") << QStringList { u"--HELP"_s } << QString();
    }
    void helpAndVersionAnswerOnTheTerminal()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        std::vector<std::string> given;
        for (const QString& argument : arguments)
            given.push_back(argument.toStdString());
        const auto printed = CommandLine::TerminalAnswer(given);
        QCOMPARE(printed.has_value(), !answer.isEmpty());
        if (printed)
            QVERIFY(QString::fromStdString(*printed).startsWith(answer));
    }
};

QTEST_MAIN(TestTalvoFormDesktop)
#include "tst_TalvoFormDesktop.moc"
