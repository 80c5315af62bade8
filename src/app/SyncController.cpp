#include "app/SyncController.h"

#include "app/IcsFiles.h"
#include "controls/Dialogues.h"
#include "platform/AnsiText.h"
#include "platform/Keyring.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "sync/SyncSchedule.h"

#include <QPointer>
#include <QSslError>
#include <QTime>
#include <QTimer>

using namespace Qt::StringLiterals;

TSyncController::TSyncController(TSettings& options, TSettingsStore& store, IKeyring& keyring,
    IDialogues& dialogues, const IClock& clock, ISyncDiary& diary, std::filesystem::path stateFile,
    std::function<bool()> ready, QObject* parent)
    : QObject(parent)
    , Options(options)
    , Store(store)
    , Keyring(keyring)
    , Dialogues(dialogues)
    , Clock(clock)
    , Diary(diary)
    , StateFile(std::move(stateFile))
    , Ready(std::move(ready))
    , Codec(clock, SystemZoneName())
    , Scheduler([this] { Run(); })
{
}

TSyncController::~TSyncController() = default;

void TSyncController::Begin(std::chrono::milliseconds delay)
{
    Configure();
    // Started now the interval is set, which plans a sync of its own.
    Scheduler.SyncSoon(delay);
}

void TSyncController::Configure()
{
    // The options are applied often (a page built, "Apply"); only a new
    // interval moves the next sync.
    const std::chrono::minutes interval(Options.Sync.Interval);
    if (Stopped || interval == Interval)
        return;
    Interval = interval;
    Scheduler.SetInterval(interval);
}

void TSyncController::Saved()
{
    if (!Stopped && !Options.Sync.Url.empty())
        Scheduler.SyncSoon(SyncAfterSave);
}

void TSyncController::SyncNow()
{
    if (Stopped)
        return;
    if (Options.Sync.Url.empty()) {
        Report(
            u"Not synced"_s, u"No calendar server to sync with: choose one in Properties, Sync."_s);
        return;
    }
    // Asked for by the user: a server that failed is tried at once, whatever the backoff.
    Declined.clear();
    Scheduler.SyncNow();
}

void TSyncController::Stop()
{
    Stopped = true;
    Scheduler.Stop();
    // Its requests go with it, unanswered: nothing of them reaches the diary.
    Sync.reset();
    Client.reset();
    Finder.reset();
    Busy = false;
}

QString TSyncController::AccountKey() const
{
    const QUrl url(FromCore(Options.Sync.Url));
    return FromCore(Options.Sync.User) + u'@' + url.host();
}

TDavAccount TSyncController::Account(const QString& password) const
{
    TDavAccount account;
    account.Url = QUrl(FromCore(Options.Sync.Url).trimmed());
    account.User = FromCore(Options.Sync.User);
    account.Password = password;
    account.AllowUnencrypted = Options.Sync.AllowUnencrypted;
    Store.OpenSettings();
    account.TrustedCertificate
        = QByteArray::fromStdString(Store.ReadSettingText(Setting::SyncCertificate.Name));
    Store.CloseSettings();
    return account;
}

void TSyncController::WithPassword(std::function<void(bool, const QString&)> done)
{
    const QString key = AccountKey();
    if (Options.Sync.User.empty() || (PasswordOf == key && !Password.isEmpty())) {
        done(true, Options.Sync.User.empty() ? QString() : Password);
        return;
    }
    Keyring.ReadPassword(key,
        [this, key, done, guard = QPointer<TSyncController>(this)](
            IKeyring::TResult result, const QString& stored) {
            if (!guard)
                return;
            if (result == IKeyring::TResult::Done && !stored.isEmpty()) {
                Password = stored;
                PasswordOf = key;
                done(true, stored);
                return;
            }
            // Without a keyring, once per session; the answer stays in memory only.
            QString typed;
            if (Asked.contains(key)
                || !Dialogues.InputPassword(u"Sync"_s,
                    u"The password of %1 for the calendar server %2:"_s.arg(
                        FromCore(Options.Sync.User), QUrl(FromCore(Options.Sync.Url)).host()),
                    typed)
                || typed.isEmpty()) {
                Asked.insert(key);
                done(false, {});
                return;
            }
            Asked.insert(key);
            Password = typed;
            PasswordOf = key;
            done(true, typed);
        });
}

void TSyncController::SetPassword(const QString& password)
{
    const QString key = AccountKey();
    Password = password;
    PasswordOf = key;
    Asked.remove(key);
    // Without a keyring it is kept in memory only, as it is now.
    Keyring.WritePassword(key, password, [](IKeyring::TResult) {});
}

void TSyncController::Run()
{
    if (Stopped || Options.Sync.Url.empty() || !Ready()) {
        Scheduler.Ended(true);
        return;
    }
    Busy = true;
    WithPassword([this](bool given, const QString& password) {
        if (Stopped)
            return;
        if (!given) {
            Finished({ false,
                u"No password for the calendar server: enter it in Properties, "
                "Sync."_s,
                0, 0, 0, 0 });
            return;
        }
        Sync.reset();
        Client = std::make_unique<TCalDavClient>(Account(password));
        Untrusted.reset();
        UntrustedErrors.clear();
        connect(Client.get(), &TCalDavClient::CertificateError, this,
            [this](const QList<QSslError>& errors, const QSslCertificate& certificate) {
                Untrusted = certificate;
                UntrustedErrors = errors;
            });
        Sync = std::make_unique<TCalDavSync>(*Client, Codec, Diary, StateFile);
        if (!Options.Sync.Calendar.empty())
            Sync->SetCollection(FromCore(Options.Sync.Calendar));
        // Taken up after the sync's own handler has returned, as what follows
        // may end that sync's objects.
        connect(Sync.get(), &TCalDavSync::Finished, this, [this](const TSyncOutcome& outcome) {
            QTimer::singleShot(0, this, [this, outcome] {
                if (!Stopped)
                    Finished(outcome);
            });
        });
        Sync->Start();
    });
}

void TSyncController::Finished(const TSyncOutcome& outcome)
{
    Busy = false;
    const TCivilTime now = DecodeTime(Clock.Now());
    const QString at = QTime(now.Hour, now.Minute).toString(u"hh:mm"_s);
    if (outcome.Ok) {
        const QString brief = u"Synced "_s + at;
        Report(brief,
            outcome.Conflicts == 0
                ? QString()
                : u"%1: %2 changed here and on the server; the server's "
                  "version is in place, yours beside it marked "
                  "\"(conflict)\"."_s.arg(brief,
                      outcome.Conflicts == 1 ? u"1 event"_s
                                             : u"%1 events"_s.arg(outcome.Conflicts)));
        Scheduler.Ended(true);
        return;
    }
    if (Untrusted && !Untrusted->isNull() && TrustCertificate()) {
        Scheduler.Ended(false);
        Scheduler.SyncNow();
        return;
    }
    // A password that the server refused is asked for again.
    if (outcome.LoginRefused && PasswordOf == AccountKey()) {
        Password.clear();
        Asked.remove(PasswordOf);
    }
    Report(u"Sync failed "_s + at, u"Sync failed: "_s + outcome.Error);
    Scheduler.Ended(false);
}

bool TSyncController::TrustCertificate()
{
    const QByteArray digest = CertificateDigest(*Untrusted);
    if (Declined.contains(digest))
        return false;
    QStringList reasons;
    for (const QSslError& error : std::as_const(UntrustedErrors))
        reasons << error.errorString();
    QString spaced;
    for (qsizetype i = 0; i < digest.size(); i += 2)
        spaced += (i ? u":"_s : QString()) + QString::fromLatin1(digest.mid(i, 2)).toUpper();
    const QString question
        = u"The certificate of the calendar server %1 could not be checked:\n%2\n\n"
          "Its SHA-256 fingerprint is %3.\n\nTrust this certificate and sync with the "
          "server? Cancel stops the sync."_s.arg(
              QUrl(FromCore(Options.Sync.Url)).host(), reasons.join(u'\n'), spaced);
    if (!Dialogues.AskYesCancel(question)) {
        Declined.insert(digest);
        return false;
    }
    RunGuarded(Dialogues, [this, &digest] {
        Store.OpenSettings();
        Store.WriteSettingText(Setting::SyncCertificate.Name, digest.toStdString());
        Store.CloseSettings();
    });
    return true;
}

void TSyncController::Report(const QString& brief, const QString& message)
{
    Status = message.isEmpty() ? brief : message;
    Q_EMIT StatusChanged(brief, message);
}

void TSyncController::FindCalendars(const QString& password, TFound done)
{
    const auto find = [this, done](const QString& known) {
        Finder = std::make_unique<TCalDavClient>(Account(known));
        Finder->Discover([done](const QString& error, const std::vector<TDavCalendar>& found) {
            QList<TFoundCalendar> calendars;
            for (const TDavCalendar& calendar : found)
                calendars.append({ calendar.Path, calendar.Name });
            done(error, calendars);
        });
    };
    if (!password.isEmpty()) {
        find(password);
        return;
    }
    WithPassword([find, done](bool given, const QString& known) {
        if (given)
            find(known);
        else
            done(u"No password: type it in first."_s, {});
    });
}
