#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class IDesktop;
class IDialogues;
class ISerialPort;
class QAction;
class QMenu;

// What the dial and e-mail commands read from the notes editor.
class INotesCaret
{
public:
    virtual ~INotesCaret() = default;
    // True while the table is shown, false for the text.
    virtual bool TableView() const = 0;
    // The table: the current cell's text, its column (1..10) and the text of
    // column 1 in its row.
    virtual QString CurrentCellText() const = 0;
    virtual int CurrentColumn() const = 0;
    virtual QString FirstColumnText() const = 0;
    // The text: the whole memo and the caret's position in it.
    virtual QString MemoText() const = 0;
    virtual int MemoCaret() const = 0;
    // Selects the word around the caret, returns it, and collapses the
    // selection to its start.
    virtual QString TakeWordAtCaret() = 0;
};

// Where the dial command reaches the outside world.
struct TDialSettings {
    // -1 none chosen, 0 the desktop's telephony handler, 1..4 a serial port.
    std::function<int()> ModemPort;
    // A device that replaces the numbered serial port when not empty
    // ("/dev/ttyACM0").
    std::function<QString()> ModemDevice;
};

// Dialling the telephone number and mailing the address at the notes cursor
// or in the current table cell, with the drop-down histories of the two tool
// buttons. The serial port is held only while one number is dialled.
class TCommsCommands final : public QObject
{
    Q_OBJECT
public:
    // The page's commands: the tool buttons with their drop-down menus and
    // the items of the notes context menu.
    struct TCommands {
        QAction* bDial = nullptr;
        QAction* bSend = nullptr;
        QMenu* pmDial = nullptr;
        QMenu* pmEmail = nullptr;
        QAction* mDial = nullptr;
        QAction* mSend = nullptr;
    };

    TCommsCommands(INotesCaret& notes, IDialogues& dialogues, IDesktop& desktop,
        ISerialPort& serial, TDialSettings settings, const TCommands& commands,
        QObject* parent = nullptr);

    void bDialClick();
    void bSendClick();
    void HistoryClick(QAction* item);

    // False (after the message) when no number is found or no port is chosen.
    bool GetPhoneNumber(QString& number, QString& label);
    void DialNumber(const QString& number);
    // Empty (after the message) when no address is found.
    QString GetEmailAddress();
    void SendEmail(const QString& address);

    const TCommands Commands;

private:
    void AddHistory(QMenu* menu, std::vector<std::string>& history, const QString& entry);

    INotesCaret& Notes;
    IDialogues& Dialogues;
    IDesktop& Desktop;
    ISerialPort& Serial;
    TDialSettings Settings;
    std::vector<std::string> DialHistory;
    std::vector<std::string> EmailHistory;
};
