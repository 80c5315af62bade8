#pragma once

#include <QStringList>

class QLineEdit;
class QWidget;
class QRect;

// Text typed or pasted where the data files (Windows-1252) cannot hold a
// character of it is refused whole, and the user is told which characters
// were refused, so nothing is ever changed to "?" in silence.

// The explanation that names the refused characters.
QString UnstorableMessage(const QStringList& characters);
// Shows the explanation as a tip below `area` of `widget` (the whole widget
// when `area` is empty).
void ShowUnstorable(QWidget* widget, const QStringList& characters, const QRect& area);
// Refuses unstorable characters in a line editor, with the tip below it.
void GuardAnsiInput(QLineEdit* editor);
