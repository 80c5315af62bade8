#pragma once

#include <QObject>
#include <QString>
#include <functional>

// Where the sync's password is kept: the desktop's keyring. Asynchronous, as
// the keyring may ask the user to unlock it; tests give one of their own.
class IKeyring
{
public:
    enum class TResult {
        Done,
        NotFound, // the keyring holds no password for the account
        Unavailable, // there is no keyring, it is locked, or it refused
    };
    using TRead = std::function<void(TResult, const QString& password)>;
    using TWritten = std::function<void(TResult)>;

    virtual ~IKeyring() = default;
    // `account` names the password ("zoe@cal.example.org").
    virtual void ReadPassword(const QString& account, TRead done) = 0;
    // An empty password removes the account's.
    virtual void WritePassword(const QString& account, const QString& password, TWritten done) = 0;
};

// The desktop's keyring through QtKeychain (the Secret Service on Linux).
class TDesktopKeyring final : public QObject, public IKeyring
{
    Q_OBJECT
public:
    using QObject::QObject;
    void ReadPassword(const QString& account, TRead done) override;
    void WritePassword(const QString& account, const QString& password, TWritten done) override;
};
