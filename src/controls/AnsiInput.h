#pragma once

#include <QStringList>

class QLineEdit;
class QWidget;
class QRect;

// Text typed or pasted into a line that would break it in the data files (a
// CR) is refused whole, and the user is told which character was refused, so
// nothing is dropped in silence.

// The explanation that names the refused characters.
QString UnstorableMessage(const QStringList& characters);
// Shows the explanation as a tip below `area` of `widget` (the whole widget
// when `area` is empty).
void ShowUnstorable(QWidget* widget, const QStringList& characters, const QRect& area);
// Refuses unstorable characters in a line editor, with the tip below it.
void GuardAnsiInput(QLineEdit* editor);
