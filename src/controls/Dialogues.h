#pragma once

#include "base/DataFile.h"

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// Every modal box the program shows goes through this one seam, so a test can
// answer in advance instead of hanging on a box.
class IDialogues
{
public:
    virtual ~IDialogues() = default;
    // "Information" box, information icon, "OK".
    virtual void ShowInfo(const QString& message) = 0;
    // "Error" box, error icon, "OK".
    virtual void ShowError(const QString& message) = 0;
    // "Warning" box with "Yes" and "No"; true for Yes.
    virtual bool AskConfirm(const QString& message) = 0;
    // The general error box for an error that escaped a handler: the text and
    // a full stop, caption "Talvo95", stop icon, "OK".
    virtual void ShowApplicationError(const QString& message) = 0;
    // A warning box with "Yes" and "Cancel", centred over the window; true for
    // Yes. Without a box of its own a seam asks as AskConfirm does.
    virtual bool AskYesCancel(const QString& message) { return AskConfirm(message); }
    // A one-line input box; false when cancelled, `value` holds the text typed.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    // The same for a password: what is typed does not show. A seam without one
    // asks as InputQuery does.
    virtual bool InputPassword(const QString& caption, const QString& prompt, QString& value)
    {
        return InputQuery(caption, prompt, value);
    }
    // The desktop's file dialog: a file to open, or with `forSave` a name to
    // write to; empty when cancelled. A seam without one picks nothing.
    virtual QString PickFile(const QString& caption, const QString& filter, bool forSave)
    {
        Q_UNUSED(caption);
        Q_UNUSED(filter);
        Q_UNUSED(forSave);
        return {};
    }
};

// The real boxes, placed with their top-left corner at (64, 32).
class TDialogues final : public IDialogues
{
public:
    explicit TDialogues(QWidget* parent = nullptr)
        : Parent(parent)
    {
    }
    void ShowInfo(const QString& message) override;
    void ShowError(const QString& message) override;
    bool AskConfirm(const QString& message) override;
    bool AskYesCancel(const QString& message) override;
    void ShowApplicationError(const QString& message) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool InputPassword(const QString& caption, const QString& prompt, QString& value) override;
    QString PickFile(const QString& caption, const QString& filter, bool forSave) override;

private:
    bool Input(const QString& caption, const QString& prompt, QString& value, bool hidden);

    QWidget* Parent;
};

// How wide a dialog must be for its title bar to show its whole title.
int TitleWidth(const QWidget& dialog);
// Runs a handler; an exception that escapes it is shown in the general error
// box and the program carries on.
void RunGuarded(IDialogues& dialogues, const std::function<void()>& handler);
// The text the general error box shows for an exception.
QString ErrorText(const std::exception& error);

// Why a save of a data file failed, as the error box words it.
QString SaveFailureReason(TDataFile::TSaveResult result, int error = 0);
// Why a load did not read a data file as it was, as the notice words it.
QString LoadEndReason(TDataFile::TLoadEnd end);
// The status bar's word, once, that data files now keep their text as UTF-8.
QString KeptAsUtf8Notice(const QStringList& files);
