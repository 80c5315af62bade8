#include "notes/NotesMemo.h"

#include "controls/MenuKeys.h"
#include "platform/AnsiText.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

TNotesMemo::TNotesMemo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("NotesMemo"));
    setTabChangesFocus(false);
    SetWordWrap(false);
    OpenMenuFromKeys(this);
}

void TNotesMemo::SetWordWrap(bool wrap)
{
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

bool TNotesMemo::Refuse(const QString& text)
{
    const QStringList found = UnstorableCharacters(text);
    if (found.isEmpty())
        return false;
    if (OnRefused)
        OnRefused(found);
    return true;
}

void TNotesMemo::keyPressEvent(QKeyEvent* event)
{
    if (Refuse(event->text())) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TNotesMemo::inputMethodEvent(QInputMethodEvent* event)
{
    if (Refuse(event->commitString())) {
        QInputMethodEvent kept(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&kept);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void TNotesMemo::insertFromMimeData(const QMimeData* source)
{
    if (source && Refuse(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

void TNotesMemo::contextMenuEvent(QContextMenuEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->reason() == QContextMenuEvent::Mouse && !textCursor().hasSelection())
        setTextCursor(cursorForPosition(event->pos()));
    if (OnContextMenu)
        OnContextMenu(event->globalPos());
}
