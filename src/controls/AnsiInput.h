#pragma once

#include <QStringList>
#include <QValidator>

class QLineEdit;
class QWidget;
class QRect;

// Text typed or pasted where the data files (Windows-1252) cannot hold a
// character of it is refused whole, and the user is told which characters
// were refused, so nothing is ever changed to "?" in silence.
class TAnsiValidator final : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

Q_SIGNALS:
    void Refused(const QStringList& characters) const;
};

// The explanation that names the refused characters.
QString UnstorableMessage(const QStringList& characters);
// Shows the explanation as a tip below `area` of `widget` (the whole widget
// when `area` is empty).
void ShowUnstorable(QWidget* widget, const QStringList& characters, const QRect& area);
// Refuses unstorable characters in a line editor, with the tip below it.
void GuardAnsiInput(QLineEdit* editor);
