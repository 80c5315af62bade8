#include "comms/CommsCommands.h"
#include "controls/FakeDialogues.h"
#include "platform/FakeDesktop.h"
#include "platform/FakeSerialPort.h"
#include "platform/SerialPort.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSocketNotifier>
#include <QWidget>
#include <QtTest>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

// The notes editor as the commands see it.
class TFakeNotes final : public INotesCaret
{
public:
    bool Table = false;
    QString Cell, FirstColumn, Memo;
    int Column = 1;
    int Caret = 0;
    bool TableView() const override { return Table; }
    QString CurrentCellText() const override { return Cell; }
    int CurrentColumn() const override { return Column; }
    QString FirstColumnText() const override { return FirstColumn; }
    QString MemoText() const override { return Memo; }
    int MemoCaret() const override { return Caret; }
    QString TakeWordAtCaret() override
    {
        qsizetype start = Caret;
        while (start > 0 && Memo.at(start - 1) > u' ')
            --start;
        qsizetype end = Caret;
        while (end < Memo.size() && Memo.at(end) > u' ')
            ++end;
        Caret = static_cast<int>(start);
        return Memo.mid(start, end - start);
    }
    void Type(const QString& memo, const QString& caretBefore)
    {
        Table = false;
        Memo = memo;
        Caret = static_cast<int>(memo.indexOf(caretBefore));
    }
};

struct TCommsFixture {
    QWidget Window;
    TFakeNotes Notes;
    TFakeDialogues Dialogues;
    TFakeDesktop Desktop;
    TFakeSerialPort FakePort;
    TSerialPort RealPort;
    int ModemPort = 1;
    QString ModemDevice;
    TCommsCommands::TCommands Actions { new QAction(&Window), new QAction(&Window),
        new QMenu(&Window), new QMenu(&Window), new QAction(&Window), new QAction(&Window) };
    QAction* Dial = Actions.bDial;
    QAction* Send = Actions.bSend;
    TCommsCommands Commands;

    // The real port goes through the serial module built beside the program.
    explicit TCommsFixture(
        bool realPort = false, const QString& module = QStringLiteral(TALVO_SERIAL_MODULE))
        : RealPort(module)
        , Commands(Notes, Dialogues, Desktop,
              realPort ? static_cast<ISerialPort&>(RealPort) : FakePort,
              { [this] { return ModemPort; }, [this] { return ModemDevice; } }, Actions)
    {
    }
    QStringList Items(QMenu* menu) const
    {
        QStringList items;
        for (const QAction* action : menu->actions())
            items << action->text();
        return items;
    }
};

// Everything the modem side of the pseudo-terminal has received within `ms`.
QByteArray ReadModem(int fd, int ms)
{
    QByteArray received;
    pollfd poller { fd, POLLIN, 0 };
    while (poll(&poller, 1, ms) > 0) {
        char buffer[64];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, n);
        ms = 100;
    }
    return received;
}

// How many of this process's descriptors are open on `device`.
int OpenDescriptors(const QString& device)
{
    int count = 0;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        count += fd.symLinkTarget() == device ? 1 : 0;
    return count;
}

} // namespace

class TCommsCommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ModemDialsTheNumberAtTheCaretAndKeepsItInTheHistory()
    {
        TCommsFixture f;
        f.ModemPort = 2;
        // The caret and the label cross to the core whatever the script.
        f.Notes.Type(u"Zoë Łódź 😀 555 1234\nnext"_s, u"1234"_s);
        f.Dial->trigger();
        QCOMPARE(f.FakePort.Opened, QStringList { ComPortDevice(2) });
        QCOMPARE(f.FakePort.Written, QByteArray("ATD 555 1234\r\r"));
        QVERIFY(!f.FakePort.Open);
        QCOMPARE(f.Dialogues.Infos,
            QStringList { u"Dialing  555 1234. Lift the Handset. Click OK when Ringing."_s });
        QCOMPARE(f.Items(f.Actions.pmDial), QStringList { u" 555 1234\tZoë Łódź 😀"_s });
        // The same number again leaves one entry; the menu item dials again.
        f.Actions.mDial->trigger();
        QCOMPARE(f.Actions.pmDial->actions().size(), 1);
        f.FakePort.Written.clear();
        f.Actions.pmDial->actions().first()->trigger();
        QCOMPARE(f.FakePort.Written, QByteArray("ATD 555 1234\r\r"));
        QCOMPARE(f.Dialogues.Errors, QStringList());
    }

    void FailuresOfTheDialCommand_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("no port chosen")
            << -1 << true << u"555 1234"_s << u"Modem Port NOT specified yet."_s << false;
        QTest::newRow("two digits")
            << 1 << true << u"tel:12"_s << u"Not a valid phone number"_s << false;
        QTest::newRow("26 characters")
            << 1 << true << QString(26, u'5') << u"Not a valid phone number"_s << false;
        QTest::newRow("port missing")
            << 3 << false << u"555 1234"_s << u"COM Port NOT Available"_s << true;
    }
    void FailuresOfTheDialCommand()
    {
        QFETCH(int, port);
        QFETCH(bool, available);
        QFETCH(QString, memo);
        QFETCH(QString, error);
        QFETCH(bool, recorded);
        TCommsFixture f;
        f.ModemPort = port;
        f.FakePort.Available = available;
        f.Notes.Type(memo, memo.right(1));
        f.Commands.bDialClick();
        QCOMPARE(f.Dialogues.Errors, QStringList { error });
        QCOMPARE(f.Actions.pmDial->actions().size(), recorded ? 1 : 0);
        QVERIFY(f.FakePort.Written.isEmpty());
        QVERIFY(!f.FakePort.Open);
    }

    void TableCellsAndTheirLabels()
    {
        TCommsFixture f;
        f.Notes.Table = true;
        f.Notes.Cell = u"555-1234"_s;
        f.Notes.FirstColumn = u"Jo"_s;
        f.Notes.Column = 2;
        f.Commands.bDialClick();
        f.Notes.Column = 1;
        f.Notes.FirstColumn = f.Notes.Cell;
        f.Commands.bDialClick();
        QCOMPARE(f.Items(f.Actions.pmDial), (QStringList { u"555-1234\t"_s, u"555-1234\tJo"_s }));
        QCOMPARE(f.FakePort.Written, QByteArray("ATD555-1234\r\rATD555-1234\r\r"));
    }

    void TheDesktopDialsAndMailsAndSaysWhenItCannot()
    {
        TCommsFixture f;
        f.ModemPort = 0;
        f.Notes.Type(u"Al  (123) 456-7890"_s, u"456"_s);
        f.Commands.bDialClick();
        f.Notes.Type(u"write to jo@example.org today"_s, u"example"_s);
        f.Send->trigger();
        QCOMPARE(
            f.Desktop.Opened, (QStringList { u"tel:(123)456-7890"_s, u"mailto:jo@example.org"_s }));
        QVERIFY(f.FakePort.Opened.isEmpty());
        QCOMPARE(f.Items(f.Actions.pmEmail), QStringList { u"jo@example.org"_s });
        QCOMPARE(f.Notes.Caret, static_cast<int>(f.Notes.Memo.indexOf(u"jo@"_s)));
        QVERIFY(f.Dialogues.Errors.isEmpty());

        f.Desktop.Handles = false;
        f.Actions.pmEmail->actions().first()->trigger();
        f.Actions.pmDial->actions().first()->trigger();
        QCOMPARE(f.Dialogues.Errors.size(), 2);
        QVERIFY(f.Dialogues.Errors[0].contains(u"mailto:"_s));
        QVERIFY(f.Dialogues.Errors[1].contains(u"tel:"_s));
    }

    void AddressesTooShortOrWithoutAtAndPoint()
    {
        TCommsFixture f;
        for (const QString& word : { u"a@b.c"_s, u"jo.smith"_s }) {
            f.Notes.Type(word, word.left(1));
            f.Actions.mSend->trigger();
        }
        f.Notes.Table = true;
        f.Notes.Cell = u"jo @ x y."_s; // the whole cell, blanks and all
        f.Commands.bSendClick();
        QCOMPARE(f.Dialogues.Errors, QStringList(2, u"Not a valid email address"_s));
        QCOMPARE(f.Desktop.Opened, QStringList { u"mailto:jo @ x y."_s });
    }

    void ModemDeviceReplacesTheNumberedPort()
    {
        TCommsFixture f;
        f.ModemDevice = u"/dev/ttyACM0"_s;
        f.Notes.Type(u"555 1234"_s, u"5"_s);
        f.Commands.bDialClick();
        // A history item dialled with no port chosen names no port at all.
        f.ModemPort = -1;
        f.Actions.pmDial->actions().first()->trigger();
        QCOMPARE(f.FakePort.Opened, (QStringList { u"/dev/ttyACM0"_s, ComPortDevice(255) }));
    }

    void APseudoTerminalModemReceivesTheDialBytes()
    {
        int modem = -1;
        int line = -1;
        char name[256] = {};
        QVERIFY(openpty(&modem, &line, name, nullptr, nullptr) == 0);
        // Only the program holds the line side while it dials.
        close(line);
        TCommsFixture f(true);
        f.ModemDevice = QString::fromLocal8Bit(name);
        QByteArray beforeOk;
        f.Dialogues.WhileInfoShown = [&] {
            beforeOk = ReadModem(modem, 2000);
            QCOMPARE(OpenDescriptors(f.ModemDevice), 1);
        };
        f.Notes.Type(u"555 1234"_s, u"1234"_s);
        f.Commands.bDialClick();
        QCOMPARE(beforeOk.toHex(' '), QByteArray("41 54 44 35 35 35 20 31 32 33 34 0d"));
        QCOMPARE(ReadModem(modem, 2000).toHex(' '), QByteArray("0d"));
        QCOMPARE(OpenDescriptors(f.ModemDevice), 0);
        QVERIFY(f.Dialogues.Errors.isEmpty());
        close(modem);
    }

    void AMissingDeviceOrModuleIsNotAvailable()
    {
        char name[256] = {};
        int modem = -1;
        int line = -1;
        QVERIFY(openpty(&modem, &line, name, nullptr, nullptr) == 0);
        close(line);
        const struct {
            QString Module;
            QString Device;
        } cases[] = {
            { QStringLiteral(TALVO_SERIAL_MODULE), u"/dev/no-such-modem"_s },
            // A broken installation: the port itself could be opened.
            { u"/no-such-folder/talvo95-serial"_s, QString::fromLocal8Bit(name) },
        };
        for (const auto& c : cases) {
            TCommsFixture f(true, c.Module);
            f.ModemDevice = c.Device;
            f.Notes.Type(u"555 1234"_s, u"1234"_s);
            f.Commands.bDialClick();
            QCOMPARE(f.Dialogues.Errors, QStringList { u"COM Port NOT Available"_s });
            QVERIFY(f.Dialogues.Infos.isEmpty());
        }
        close(modem);
    }
};

QTEST_MAIN(TCommsCommandsTest)
#include "tst_CommsCommands.moc"
