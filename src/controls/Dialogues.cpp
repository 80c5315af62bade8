#include "controls/Dialogues.h"

#include "platform/AnsiText.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace
{

// A message box sizes itself to its text and buttons alone: a short text
// would leave its title cut ("Info...tion"). A strut in its layout makes it
// wide enough for the title as well.
void FitToCaption(QMessageBox& box)
{
    box.ensurePolished();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleWidth(box), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    box.adjustSize();
}

int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    FitToCaption(box);
    box.move(64, 32);
    return box.exec();
}

} // namespace

int TitleWidth(const QWidget& dialog)
{
    // The title bar's font is the desktop's, often a little larger than the
    // dialog's: a bold one a fifth wider, with room for the icon, the title
    // bar's three buttons and its padding, is enough on the common desktops.
    QFont font = dialog.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(dialog.windowTitle()) * 6 / 5 + 5 * (metrics.height() + 8);
}

void TDialogues::ShowInfo(const QString& message)
{
    ShowBox(Parent, QMessageBox::Information, u"Information"_s, message, QMessageBox::Ok);
}

void TDialogues::ShowError(const QString& message)
{
    ShowBox(Parent, QMessageBox::Critical, u"Error"_s, message, QMessageBox::Ok);
}

bool TDialogues::AskConfirm(const QString& message)
{
    return ShowBox(Parent, QMessageBox::Warning, u"Warning"_s, message,
               QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

bool TDialogues::AskYesCancel(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, u"Warning"_s, message,
        QMessageBox::Yes | QMessageBox::Cancel, Parent);
    FitToCaption(box);
    return box.exec() == QMessageBox::Yes;
}

void TDialogues::ShowApplicationError(const QString& message)
{
    ShowBox(Parent, QMessageBox::Critical, u"Talvo95"_s, message + u'.', QMessageBox::Ok);
}

bool TDialogues::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    return Input(caption, prompt, value, false);
}

bool TDialogues::InputPassword(const QString& caption, const QString& prompt, QString& value)
{
    return Input(caption, prompt, value, true);
}

bool TDialogues::Input(const QString& caption, const QString& prompt, QString& value, bool hidden)
{
    QInputDialog dialog(Parent);
    dialog.setInputMode(QInputDialog::TextInput);
    if (hidden)
        dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    // The box sizes itself to its contents: the entry carries the width.
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMinimumWidth(TitleWidth(dialog) - 24);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString TDialogues::PickFile(const QString& caption, const QString& filter, bool forSave)
{
    return forSave ? QFileDialog::getSaveFileName(Parent, caption, QString(), filter)
                   : QFileDialog::getOpenFileName(Parent, caption, QString(), filter);
}

QString ErrorText(const std::exception& error)
{
    return FromCore(error.what());
}

void RunGuarded(IDialogues& dialogues, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        dialogues.ShowApplicationError(ErrorText(error));
    }
}

QString SaveFailureReason(TDataFile::TSaveResult result, int error)
{
    switch (result) {
    case TDataFile::srReadOnly:
        return u"the file is read-only"_s;
    case TDataFile::srNoBackup:
        return u"a copy of the part of the file that was never read could not be kept beside it"_s;
    default:
        break;
    }
    switch (error) {
    case ENOSPC:
        return u"the disk is full"_s;
    case EDQUOT:
        return u"your disk quota is used up"_s;
    case EFBIG:
        return u"the file would be larger than the system allows"_s;
    case EROFS:
        return u"the disk is read-only"_s;
    case EACCES:
    case EPERM:
        return u"you may not write to the file or its folder"_s;
    case 0:
        return u"the file or its folder could not be written"_s;
    default:
        return u"the file or its folder could not be written (%1)"_s.arg(
            QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString LoadEndReason(TDataFile::TLoadEnd end)
{
    switch (end) {
    case TDataFile::leReadError:
        return u"a read error stopped the reading"_s;
    case TDataFile::leInvalidText:
        return u"it is marked as UTF-8 but holds bytes that are not, shown as \uFFFD"_s;
    default:
        return u"it holds an end-of-file mark (the byte 26) with more data after it"_s;
    }
}

QString KeptAsUtf8Notice(const QStringList& files)
{
    return u"%1 now kept as UTF-8, so text in every language is saved."_s.arg(
        files.join(u" and "_s) + (files.size() > 1 ? u" are"_s : u" is"_s));
}
