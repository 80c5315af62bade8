#include "controls/Dialogues.h"

#include "platform/AnsiText.h"

#include <QInputDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace
{

int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.ensurePolished();
    box.adjustSize();
    box.move(64, 32);
    return box.exec();
}

} // namespace

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
    return box.exec() == QMessageBox::Yes;
}

void TDialogues::ShowApplicationError(const QString& message)
{
    ShowBox(Parent, QMessageBox::Critical, u"Talvo95"_s, message + u'.', QMessageBox::Ok);
}

bool TDialogues::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString text
        = QInputDialog::getText(Parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

QString ErrorText(const std::exception& error)
{
    return FromAnsi(error.what());
}

void RunGuarded(IDialogues& dialogues, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        dialogues.ShowApplicationError(ErrorText(error));
    }
}
