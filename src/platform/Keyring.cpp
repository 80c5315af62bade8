#include "platform/Keyring.h"

#include <qt6keychain/keychain.h>

namespace
{

const QString Service = QStringLiteral("Talvo95");

IKeyring::TResult ResultOf(const QKeychain::Job& job)
{
    switch (job.error()) {
    case QKeychain::NoError:
        return IKeyring::TResult::Done;
    case QKeychain::EntryNotFound:
        return IKeyring::TResult::NotFound;
    default:
        return IKeyring::TResult::Unavailable;
    }
}

} // namespace

void TDesktopKeyring::ReadPassword(const QString& account, TRead done)
{
    auto* job = new QKeychain::ReadPasswordJob(Service, this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    connect(job, &QKeychain::Job::finished, this, [done](QKeychain::Job* finished) {
        const auto* read = static_cast<QKeychain::ReadPasswordJob*>(finished);
        const TResult result = ResultOf(*read);
        done(result, result == TResult::Done ? read->textData() : QString());
    });
    job->start();
}

void TDesktopKeyring::WritePassword(const QString& account, const QString& password, TWritten done)
{
    QKeychain::Job* job = nullptr;
    if (password.isEmpty()) {
        auto* erase = new QKeychain::DeletePasswordJob(Service, this);
        erase->setKey(account);
        job = erase;
    } else {
        auto* write = new QKeychain::WritePasswordJob(Service, this);
        write->setKey(account);
        write->setTextData(password);
        job = write;
    }
    job->setAutoDelete(true);
    // Never a file of its own: without a keyring the password stays in memory.
    job->setInsecureFallback(false);
    connect(job, &QKeychain::Job::finished, this, [done, password](QKeychain::Job* finished) {
        const TResult result = ResultOf(*finished);
        // Nothing to remove is as good as removed.
        done(password.isEmpty() && result == TResult::NotFound ? TResult::Done : result);
    });
    job->start();
}
