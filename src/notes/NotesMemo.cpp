#include "notes/NotesMemo.h"

#include "controls/MenuKeys.h"

#include <QContextMenuEvent>

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

void TNotesMemo::contextMenuEvent(QContextMenuEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->reason() == QContextMenuEvent::Mouse && !textCursor().hasSelection())
        setTextCursor(cursorForPosition(event->pos()));
    if (OnContextMenu)
        OnContextMenu(event->globalPos());
}
