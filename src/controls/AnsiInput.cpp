#include "controls/AnsiInput.h"

#include "platform/AnsiText.h"
#include "platform/AnsiValidator.h"

#include <QLineEdit>
#include <QToolTip>

using namespace Qt::StringLiterals;

QString UnstorableMessage(const QStringList& characters)
{
    return u"Not added: the data files cannot hold "_s + NameCharacters(characters) + u"."_s;
}

void ShowUnstorable(QWidget* widget, const QStringList& characters, const QRect& area)
{
    const QRect where = area.isEmpty() ? widget->rect() : area;
    QToolTip::showText(
        widget->mapToGlobal(where.bottomLeft()), UnstorableMessage(characters), widget, where);
}

void GuardAnsiInput(QLineEdit* editor)
{
    editor->setValidator(new TAnsiValidator(
        [editor](const QStringList& characters) { ShowUnstorable(editor, characters, {}); },
        editor));
}
