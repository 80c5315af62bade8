#pragma once

#include "settings/SyncOptions.h"
#include "sync/CalDavSync.h"
#include "sync/IcalCodec.h"
#include "sync/SyncScheduler.h"

#include <QObject>
#include <QSet>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class IDialogues;
class IKeyring;
class TSettingsStore;
struct TSettings;

// The diary's sync as the program runs it: at start, at the chosen interval,
// soon after a save and on "Sync now", one at a time and never on the GUI
// thread's time. It reads the options when a sync starts, gets the password
// from the keyring (or, without one, asks once and keeps it in memory), lets
// the user decide about a certificate that does not check out, and says how
// each sync ended through StatusChanged.
class TSyncController final : public QObject, public ISyncControl
{
    Q_OBJECT
public:
    // `ready` says whether the diary may be synced now (it is loaded and is
    // what its file holds); `diary` is the diary a sync reads and changes.
    TSyncController(TSettings& options, TSettingsStore& store, IKeyring& keyring,
        IDialogues& dialogues, const IClock& clock, ISyncDiary& diary,
        std::filesystem::path stateFile, std::function<bool()> ready, QObject* parent = nullptr);
    ~TSyncController() override;

    // Takes the options' interval; the first sync comes `delay` later.
    void Begin(std::chrono::milliseconds delay);
    void Configure();
    // A save was just made: what it saved goes out a little later.
    void Saved();
    // No sync from now on; one that runs is dropped before it changes anything.
    void Stop();
    bool Running() const { return Busy; }
    const QString& LastStatus() const { return Status; }

    void FindCalendars(const QString& password, TFound done) override;
    void SetPassword(const QString& password) override;
    void SyncNow() override;

Q_SIGNALS:
    // `brief` for the status bar's panel ("Synced 14:32"), `message` the whole
    // of it when there is more to say (an error, conflicts), else empty.
    void StatusChanged(const QString& brief, const QString& message);

private:
    void Run();
    // The account's password, from memory, the keyring or the user; `done`
    // gets false when there is none to be had.
    void WithPassword(std::function<void(bool, const QString&)> done);
    TDavAccount Account(const QString& password) const;
    QString AccountKey() const;
    void Finished(const TSyncOutcome& outcome);
    // Asks whether to trust a certificate that did not check out; true to sync again.
    bool TrustCertificate();
    void Report(const QString& brief, const QString& message);

    TSettings& Options;
    TSettingsStore& Store;
    IKeyring& Keyring;
    IDialogues& Dialogues;
    const IClock& Clock;
    ISyncDiary& Diary;
    std::filesystem::path StateFile;
    std::function<bool()> Ready;
    TIcalCodec Codec;
    TSyncScheduler Scheduler;
    std::unique_ptr<TCalDavClient> Client;
    std::unique_ptr<TCalDavSync> Sync;
    std::unique_ptr<TCalDavClient> Finder;
    std::chrono::minutes Interval { 0 };
    bool Busy = false;
    bool Stopped = false;
    // The password of the account named by PasswordOf, for this session only.
    QString Password;
    QString PasswordOf;
    // Accounts the user was asked for a password this session.
    QSet<QString> Asked;
    // The certificate the last sync met and could not trust, and those the
    // user declined this session. Optional: even an empty certificate loads
    // the TLS library, which the start must not wait for.
    std::optional<QSslCertificate> Untrusted;
    QList<QSslError> UntrustedErrors;
    QSet<QByteArray> Declined;
    QString Status;
};
