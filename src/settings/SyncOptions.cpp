#include "settings/SyncOptions.h"

#include "platform/AnsiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

TSyncOptions::TSyncOptions(TSettings& settings, QWidget* parent)
    : QGroupBox(u"Sync"_s, parent)
    , Settings(settings)
{
    setObjectName(u"SyncBox"_s);
    auto* form = new QFormLayout(this);
    form->setVerticalSpacing(3);
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    SyncUrlEdit = new QLineEdit(this);
    SyncUrlEdit->setObjectName(u"SyncUrlEdit"_s);
    SyncUrlEdit->setPlaceholderText(u"https://calendar.example.org/"_s);
    SyncUrlEdit->setToolTip(u"A calendar's address, or the server's: Find lists its calendars"_s);
    SyncUrlEdit->setMinimumWidth(SyncUrlEdit->fontMetrics().horizontalAdvance(u'x') * 30);
    form->addRow(u"&Server:"_s, SyncUrlEdit);

    auto* calendars = new QHBoxLayout;
    SyncCalendarList = new QComboBox(this);
    SyncCalendarList->setObjectName(u"SyncCalendarList"_s);
    SyncCalendarList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    SyncCalendarList->setMinimumContentsLength(12);
    bFindCalendars = new QPushButton(u"&Find"_s, this);
    bFindCalendars->setObjectName(u"bFindCalendars"_s);
    bFindCalendars->setToolTip(u"Ask the server which calendars it has"_s);
    calendars->addWidget(SyncCalendarList, 1);
    calendars->addWidget(bFindCalendars);
    auto* calendarLabel = new QLabel(u"&Calendar:"_s, this);
    calendarLabel->setBuddy(SyncCalendarList);
    form->addRow(calendarLabel, calendars);

    SyncUserEdit = new QLineEdit(this);
    SyncUserEdit->setObjectName(u"SyncUserEdit"_s);
    form->addRow(u"&User name:"_s, SyncUserEdit);
    SyncPasswordEdit = new QLineEdit(this);
    SyncPasswordEdit->setObjectName(u"SyncPasswordEdit"_s);
    SyncPasswordEdit->setEchoMode(QLineEdit::Password);
    SyncPasswordEdit->setToolTip(u"Kept in the desktop's keyring; without one, only until "
                                 "Talvo95 ends"_s);
    form->addRow(u"&Password:"_s, SyncPasswordEdit);

    seSyncInterval = new QSpinBox(this);
    seSyncInterval->setObjectName(u"seSyncInterval"_s);
    seSyncInterval->setRange(1, MaxSyncInterval);
    seSyncInterval->setPrefix(u"every "_s);
    seSyncInterval->setSuffix(u" min"_s);
    form->addRow(u"S&ync:"_s, seSyncInterval);

    cbSyncUnencrypted = new QCheckBox(u"Allow &unencrypted connection"_s, this);
    cbSyncUnencrypted->setObjectName(u"cbSyncUnencrypted"_s);
    cbSyncUnencrypted->setToolTip(u"Plain HTTP to a server other than this computer: anyone on "
                                  "the way can read the diary and the password"_s);
    form->addRow(cbSyncUnencrypted);

    bSyncNow = new QPushButton(u"Sync &now"_s, this);
    bSyncNow->setObjectName(u"bSyncNow"_s);
    SyncStatusLabel = new QLabel(this);
    SyncStatusLabel->setObjectName(u"SyncStatusLabel"_s);
    SyncStatusLabel->setWordWrap(true);
    form->addRow(bSyncNow, SyncStatusLabel);

    connect(SyncUrlEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        Settings.Sync.Url = ToCore(text.trimmed());
        // A calendar found at another address is no calendar of this one.
        Settings.Sync.Calendar.clear();
        SyncCalendarList->clear();
    });
    connect(SyncCalendarList, &QComboBox::activated, this, [this](int index) {
        Settings.Sync.Calendar = ToCore(SyncCalendarList->itemData(index).toString());
    });
    connect(SyncUserEdit, &QLineEdit::textEdited, this,
        [this](const QString& text) { Settings.Sync.User = ToCore(text); });
    connect(SyncPasswordEdit, &QLineEdit::textEdited, this, [this] { PasswordTyped = true; });
    connect(seSyncInterval, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (!Showing)
            Settings.Sync.Interval = minutes;
    });
    connect(cbSyncUnencrypted, &QCheckBox::toggled, this, [this](bool on) {
        if (!Showing)
            Settings.Sync.AllowUnencrypted = on;
    });
    connect(bFindCalendars, &QPushButton::clicked, this, &TSyncOptions::bFindCalendarsClick);
    connect(bSyncNow, &QPushButton::clicked, this, &TSyncOptions::bSyncNowClick);
    SetControl(nullptr);
}

void TSyncOptions::SetControl(ISyncControl* control)
{
    Control = control;
    bFindCalendars->setEnabled(Control);
    bSyncNow->setEnabled(Control);
}

void TSyncOptions::ShowSettings()
{
    Showing = true;
    const TSyncSettings& sync = Settings.Sync;
    SyncUrlEdit->setText(FromCore(sync.Url));
    SyncCalendarList->clear();
    if (!sync.Calendar.empty())
        SyncCalendarList->addItem(FromCore(sync.Calendar), FromCore(sync.Calendar));
    SyncUserEdit->setText(FromCore(sync.User));
    SyncPasswordEdit->clear();
    PasswordTyped = false;
    seSyncInterval->setValue(sync.Interval);
    cbSyncUnencrypted->setChecked(sync.AllowUnencrypted);
    Showing = false;
}

void TSyncOptions::Commit()
{
    if (!PasswordTyped || !Control)
        return;
    Control->SetPassword(SyncPasswordEdit->text());
    PasswordTyped = false;
}

void TSyncOptions::bFindCalendarsClick()
{
    if (!Control)
        return;
    SyncStatusLabel->setText(u"Asking the server…"_s);
    bFindCalendars->setEnabled(false);
    const QString password = PasswordTyped ? SyncPasswordEdit->text() : QString();
    // The window may be gone when the server answers.
    Control->FindCalendars(password,
        [page = QPointer<TSyncOptions>(this)](
            const QString& error, const QList<TFoundCalendar>& calendars) {
            if (page)
                page->ShowCalendars(error, calendars);
        });
}

void TSyncOptions::ShowCalendars(const QString& error, const QList<TFoundCalendar>& calendars)
{
    bFindCalendars->setEnabled(Control);
    if (!error.isEmpty()) {
        SyncStatusLabel->setText(error);
        return;
    }
    SyncCalendarList->clear();
    int chosen = 0;
    for (const TFoundCalendar& calendar : calendars) {
        const QString name = calendar.Name.isEmpty() ? calendar.Path : calendar.Name;
        SyncCalendarList->addItem(name, calendar.Path);
        SyncCalendarList->setItemData(
            SyncCalendarList->count() - 1, calendar.Path, Qt::ToolTipRole);
        if (ToCore(calendar.Path) == Settings.Sync.Calendar)
            chosen = SyncCalendarList->count() - 1;
    }
    if (calendars.isEmpty())
        return;
    SyncCalendarList->setCurrentIndex(chosen);
    Settings.Sync.Calendar = ToCore(calendars[chosen].Path);
    SyncStatusLabel->setText(calendars.size() == 1
            ? u"One calendar found."_s
            : u"%1 calendars found: choose one."_s.arg(calendars.size()));
}

void TSyncOptions::bSyncNowClick()
{
    if (!Control)
        return;
    Commit();
    Control->SyncNow();
    SyncStatusLabel->setText(u"Syncing; the status bar tells how it went."_s);
}
