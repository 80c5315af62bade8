#pragma once

class QAbstractItemView;
class QKeyEvent;
class QPoint;
class QWidget;

// The keyboard's two ways to a pop-up menu: the Menu key and Shift+F10.
bool IsMenuKey(const QKeyEvent* event);

// Where a menu opened from the keyboard stands on a view, in global
// coordinates: just below the current cell or item, at its left edge; the
// viewport's top-left corner when nothing is current or it is scrolled away.
QPoint KeyboardMenuPoint(const QAbstractItemView& view);

// Shift+F10 and the Menu key open `widget`'s context menu as the desktop
// opens it for the Menu key: a keyboard context-menu event, placed at the
// current cell of a view or at the text cursor of an editor. The desktop's own
// event for the Menu key opens the same menu, so the two never differ.
void OpenMenuFromKeys(QWidget* widget);
