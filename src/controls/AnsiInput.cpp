#include "controls/AnsiInput.h"

#include "platform/AnsiText.h"

#include <QLineEdit>
#include <QToolTip>

using namespace Qt::StringLiterals;

QValidator::State TAnsiValidator::validate(QString& input, int&) const
{
    const QStringList refused = UnstorableCharacters(input);
    if (refused.isEmpty())
        return Acceptable;
    Q_EMIT Refused(refused);
    return Invalid;
}

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
    auto* validator = new TAnsiValidator(editor);
    QObject::connect(validator, &TAnsiValidator::Refused, editor,
        [editor](const QStringList& characters) { ShowUnstorable(editor, characters, {}); });
    editor->setValidator(validator);
}
