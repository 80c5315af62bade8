#pragma once

#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "base/DateTime.h"
#include "controls/FakeDialogues.h"
#include "platform/Clipboard.h"
#include "platform/Desktop.h"
#include "platform/FakeDesktop.h"
#include "platform/FakeSerialPort.h"
#include "platform/FakeSoundPlayer.h"
#include "platform/Keyring.h"
#include "platform/TrayIcon.h"
#include "settings/MemorySettingsBackend.h"

#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

// A notification area that records what it shows.
// A file's bytes; none when it cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TFakeTrayIcon final : public TTrayIconBase
{
public:
    bool Available = true;
    bool Shown = false;
    QString Tip;
    int IconChanges = 0;
    bool IsAvailable() const override { return Available; }
    void Show() override { Shown = true; }
    void Hide() override { Shown = false; }
    bool IsShown() const override { return Shown; }
    void SetIcon(const QIcon&) override { ++IconChanges; }
    void SetToolTip(const QString& tip) override { Tip = tip; }
    void SetMenu(QMenu*) override { }
    void Click() { Q_EMIT LeftClicked(); }
};

// A keyring in memory; without `Available` it answers as a desktop without one.
struct TFakeKeyring final : IKeyring {
    bool Available = true;
    std::map<QString, QString> Passwords;
    int Reads = 0;
    void ReadPassword(const QString& account, TRead done) override
    {
        ++Reads;
        const auto found = Passwords.find(account);
        done(!Available                    ? TResult::Unavailable
                : found == Passwords.end() ? TResult::NotFound
                                           : TResult::Done,
            Available && found != Passwords.end() ? found->second : QString());
    }
    void WritePassword(const QString& account, const QString& password, TWritten done) override
    {
        if (Available)
            Passwords[account] = password;
        done(Available ? TResult::Done : TResult::Unavailable);
    }
};

// Everything a main window needs, faked, with a data folder of its own.
struct TFakeShell {
    QTemporaryDir Folder;
    TFixedClock Clock { EncodeDate(2026, 12, 7) + EncodeTime(9, 15) };
    TFakeDialogues Dialogues;
    TFakeTrayIcon Tray;
    TFakeDesktop Desktop;
    TMemoryClipboard Clipboard;
    TFakeSoundPlayer Sound;
    TFakeSerialPort Serial;
    TFakeKeyring Keyring;
    // The settings outlive each window, as the real store does between runs.
    std::map<std::string, std::variant<std::string, TMemorySettingsBackend::TNumber>, std::less<>>
        StoredSettings;
    TMemorySettingsBackend* Backend = nullptr;
    bool RefuseSettingsWrites = false;
    TTalvoServices Services { Clock, Dialogues, Tray, Desktop, Clipboard, Sound,
        [this] { return MakeBackend(); }, Folder.path().toStdString(), Serial,
        Folder.filePath(QStringLiteral("state/recovered")).toStdString() };

    std::unique_ptr<ISettingsBackend> MakeBackend()
    {
        auto backend = std::make_unique<TMemorySettingsBackend>();
        backend->Values = StoredSettings;
        backend->RefuseAll = RefuseSettingsWrites;
        Backend = backend.get();
        return backend;
    }
    std::unique_ptr<TTalvoForm> Start(const QStringList& arguments = {})
    {
        Services.Keyring = &Keyring;
        return std::make_unique<TTalvoForm>(Services, arguments);
    }
    // What the last window's settings hold now.
    std::string Stored(std::string_view name) const { return Backend->Text(name); }
    QString DataFile(const QString& name) const { return Folder.filePath(name); }
    // A file of the data folder.
    QByteArray ReadData(const QString& name) const { return ReadFile(Folder.filePath(name)); }
    void WriteData(const QString& name, const QByteArray& text) const
    {
        QFile file(Folder.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text);
    }
};

// The window's parts, found by their object names.
inline QTabWidget* Pages(QWidget& form)
{
    return form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
}
inline QLabel* StatusPanel(QWidget& form, int index)
{
    return form.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(index));
}
inline QTimer* SecondTimer(QWidget& form)
{
    return form.findChild<QTimer*>(QStringLiteral("Second"));
}
