#include "controls/Dialogues.h"

#include "platform/AnsiText.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>

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

void TDialogues::ShowApplicationError(const QString& message)
{
    ShowBox(Parent, QMessageBox::Critical, u"Talvo95"_s, message + u'.', QMessageBox::Ok);
}

bool TDialogues::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    QInputDialog box(Parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(value);
    FitCaption(box);
    if (box.exec() != QDialog::Accepted)
        return false;
    value = box.textValue();
    return true;
}

QString ShownCaption(const QWidget& box)
{
    const QString caption = box.windowTitle();
    const QString program = QGuiApplication::applicationDisplayName();
    if (program.isEmpty() || caption.contains(program))
        return caption;
    return caption + u" \u2014 "_s + program;
}

void FitCaption(QWidget& box)
{
    // The title bar's font is the window manager's: allow for a bold one, and
    // for the icon and the buttons beside the caption.
    QFont title = box.font();
    title.setBold(true);
    const int needed
        = QFontMetrics(title).horizontalAdvance(ShownCaption(box)) * 5 / 4 + CaptionAllowance;
    // Sized rather than given a minimum, which a box's own layout would override.
    const QSize natural = box.sizeHint();
    box.resize(std::max(natural.width(), needed), natural.height());
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
