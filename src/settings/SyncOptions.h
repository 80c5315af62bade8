#pragma once

#include "settings/Settings.h"

#include <QGroupBox>
#include <QList>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// A calendar the server offers: its path there and the name it shows.
struct TFoundCalendar {
    QString Path;
    QString Name;
};

// What the "Sync" group asks of the sync itself, which lives above the
// settings; the options it reads from the program's TSettings when it runs.
class ISyncControl
{
public:
    using TFound = std::function<void(const QString& error, const QList<TFoundCalendar>&)>;
    virtual ~ISyncControl() = default;
    // The calendars at the options' address; `password` is used when not
    // empty, else the one known.
    virtual void FindCalendars(const QString& password, TFound done) = 0;
    // A password the user typed: kept in the keyring, or in memory only for
    // this session when there is none.
    virtual void SetPassword(const QString& password) = 0;
    virtual void SyncNow() = 0;
};

// The Properties window's "Sync" group: the server's address, the calendar
// found there, the user name, the password, the minutes between syncs,
// "Allow unencrypted connection" and "Sync now". Like the rest of the window
// it edits the options in place; the password goes to the sync (never to the
// options) when the options are applied.
class TSyncOptions final : public QGroupBox
{
    Q_OBJECT
public:
    TSyncOptions(TSettings& settings, QWidget* parent);
    void SetControl(ISyncControl* control);
    // The controls show the options as they are now; a password typed and not
    // applied is forgotten.
    void ShowSettings();
    // Hands a typed password to the sync.
    void Commit();
    void bFindCalendarsClick();
    void bSyncNowClick();

private:
    void ShowCalendars(const QString& error, const QList<TFoundCalendar>& calendars);

    TSettings& Settings;
    ISyncControl* Control = nullptr;
    QLineEdit* SyncUrlEdit;
    QPushButton* bFindCalendars;
    QComboBox* SyncCalendarList;
    QLineEdit* SyncUserEdit;
    QLineEdit* SyncPasswordEdit;
    QSpinBox* seSyncInterval;
    QCheckBox* cbSyncUnencrypted;
    QPushButton* bSyncNow;
    QLabel* SyncStatusLabel;
    bool Showing = false;
    bool PasswordTyped = false;
};
