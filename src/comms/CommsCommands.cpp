#include "comms/CommsCommands.h"

#include "comms/History.h"
#include "comms/Picking.h"
#include "controls/Dialogues.h"
#include "platform/AnsiText.h"
#include "platform/Desktop.h"
#include "platform/SerialPort.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

TCommsCommands::TCommsCommands(INotesCaret& notes, IDialogues& dialogues, IDesktop& desktop,
    ISerialPort& serial, TDialSettings settings, const TCommands& commands, QObject* parent)
    : QObject(parent)
    , Commands(commands)
    , Notes(notes)
    , Dialogues(dialogues)
    , Desktop(desktop)
    , Serial(serial)
    , Settings(std::move(settings))
{
    connect(Commands.pmDial, &QMenu::triggered, this, &TCommsCommands::HistoryClick);
    connect(Commands.pmEmail, &QMenu::triggered, this, &TCommsCommands::HistoryClick);
    for (QAction* dial : { Commands.bDial, Commands.mDial }) {
        dial->setEnabled(true);
        connect(dial, &QAction::triggered, this, &TCommsCommands::bDialClick);
    }
    for (QAction* send : { Commands.bSend, Commands.mSend }) {
        send->setEnabled(true);
        connect(send, &QAction::triggered, this, &TCommsCommands::bSendClick);
    }
}

void TCommsCommands::bDialClick()
{
    QString number;
    QString label;
    if (!GetPhoneNumber(number, label))
        return;
    DialNumber(number);
    AddHistory(Commands.pmDial, DialHistory, number + u'\t' + label);
}

void TCommsCommands::bSendClick()
{
    const QString address = GetEmailAddress();
    if (address.isEmpty())
        return;
    SendEmail(address);
    AddHistory(Commands.pmEmail, EmailHistory, address);
}

void TCommsCommands::HistoryClick(QAction* item)
{
    const std::string entry = item->data().toString().toStdString();
    const QString target = QString::fromStdString(std::string(HistoryTarget(entry)));
    if (item->parent() == Commands.pmDial)
        DialNumber(target);
    else
        SendEmail(target);
}

bool TCommsCommands::GetPhoneNumber(QString& number, QString& label)
{
    label.clear();
    if (Settings.ModemPort() == -1) {
        Dialogues.ShowError(u"Modem Port NOT specified yet."_s);
        return false;
    }
    const QString memo = Notes.TableView() ? QString() : Notes.MemoText();
    const TPhonePick pick = Notes.TableView()
        ? PhoneNumberInCell(
            ToCore(Notes.CurrentCellText()), Notes.CurrentColumn(), ToCore(Notes.FirstColumnText()))
        : PhoneNumberAtCaret(ToCore(memo), CoreOffset(memo, Notes.MemoCaret()));
    if (!IsValidPhoneNumber(pick.Number)) {
        Dialogues.ShowError(u"Not a valid phone number"_s);
        return false;
    }
    number = FromCore(pick.Number);
    label = FromCore(pick.Label);
    return true;
}

void TCommsCommands::DialNumber(const QString& number)
{
    const int port = Settings.ModemPort();
    if (port == 0) {
        if (!Desktop.OpenUrl(FromCore(TelLink(ToCore(number)))))
            Dialogues.ShowError(u"No program on this desktop takes telephone (tel:) links."_s);
        return;
    }
    const QString device = Settings.ModemDevice ? Settings.ModemDevice() : QString();
    const bool numbered = port >= 1 && port <= 4;
    // Any other value (a history item dialled while no port is chosen) names
    // no port that exists.
    if (!Serial.OpenComPort(numbered && !device.isEmpty() ? device : ComPortDevice(port & 0xFF))) {
        Dialogues.ShowError(u"COM Port NOT Available"_s);
        return;
    }
    const std::string command = DialCommand(ToCore(number));
    Serial.WriteComBuffer(QByteArray(command.data(), static_cast<qsizetype>(command.size())));
    Dialogues.ShowInfo(u"Dialing "_s + number + u". Lift the Handset. Click OK when Ringing."_s);
    Serial.WriteComBuffer(QByteArrayLiteral("\r"));
    Serial.CloseComPort();
}

QString TCommsCommands::GetEmailAddress()
{
    const QString address = Notes.TableView() ? Notes.CurrentCellText() : Notes.TakeWordAtCaret();
    if (!IsValidEmailAddress(ToCore(address))) {
        Dialogues.ShowError(u"Not a valid email address"_s);
        return {};
    }
    return address;
}

void TCommsCommands::SendEmail(const QString& address)
{
    if (!Desktop.OpenUrl(u"mailto:"_s + address))
        Dialogues.ShowError(u"No mail program on this desktop takes e-mail (mailto:) links."_s);
}

void TCommsCommands::AddHistory(
    QMenu* menu, std::vector<std::string>& history, const QString& entry)
{
    // The history is for this run only and never reaches a file: it keeps
    // the text as typed.
    if (!::AddHistory(history, entry.toStdString()))
        return;
    // The menu mirrors the list: rebuilt, newest first. A dial entry's label
    // shows in the menu's right-hand column.
    menu->clear();
    const QIcon icon = (menu == Commands.pmDial ? Commands.bDial : Commands.bSend)->icon();
    for (const std::string& item : history) {
        const QString caption = QString::fromStdString(item);
        menu->addAction(icon, caption)->setData(caption);
    }
}
