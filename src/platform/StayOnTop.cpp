#include "platform/StayOnTop.h"

#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

void SetStayOnTop(QWidget* window, bool onTop)
{
    if (!window || !window->isVisible())
        return;
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    const Qt::WindowFlags wanted
        = onTop ? flags | Qt::WindowStaysOnTopHint : flags & ~Qt::WindowStaysOnTopHint;
    // QWidget::setWindowFlags would hide the window and make it again; the
    // platform window takes the new band while it stays mapped instead (on X11
    // through the window manager's _NET_WM_STATE_ABOVE).
    window->overrideWindowFlags(wanted);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(wanted);
#ifdef Q_OS_WIN
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
        0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
#endif
}
