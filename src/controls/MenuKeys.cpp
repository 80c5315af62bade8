#include "controls/MenuKeys.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>

namespace
{

class TMenuKeyFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!IsMenuKey(key))
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        QPoint global;
        if (const auto* view = qobject_cast<const QAbstractItemView*>(widget)) {
            global = KeyboardMenuPoint(*view);
        } else {
            const QRect cursor = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            global = widget->mapToGlobal(cursor.isValid() ? cursor.bottomLeft() : QPoint(0, 0));
        }
        QContextMenuEvent menu(
            QContextMenuEvent::Keyboard, widget->mapFromGlobal(global), global, key->modifiers());
        QCoreApplication::sendEvent(widget, &menu);
        return true;
    }
};

} // namespace

bool IsMenuKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

QPoint KeyboardMenuPoint(const QAbstractItemView& view)
{
    const QWidget* viewport = view.viewport();
    const QRect cell = view.visualRect(view.currentIndex()).intersected(viewport->rect());
    return viewport->mapToGlobal(
        cell.isValid() ? QPoint(cell.left(), cell.bottom() + 1) : QPoint(0, 0));
}

void OpenMenuFromKeys(QWidget* widget)
{
    widget->installEventFilter(new TMenuKeyFilter(widget));
}
