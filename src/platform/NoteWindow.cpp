#include "platform/NoteWindow.h"

#include <QWidget>

#ifdef TALVO_HAVE_XCB
#include <QGuiApplication>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace
{

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace
#endif

void KeepOutOfTaskbar(QWidget* window)
{
#ifdef TALVO_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // The offscreen platform answers as X11 too, with no connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window)
        return;
    // Qt adds its own states to these when it maps the window: the window
    // manager reads them all then.
    const std::array<xcb_atom_t, 2> states { Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
        Atom(connection, "_NET_WM_STATE_SKIP_PAGER") };
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
        static_cast<xcb_window_t>(window->winId()), Atom(connection, "_NET_WM_STATE"),
        XCB_ATOM_ATOM, 32, states.size(), states.data());
    xcb_flush(connection);
#else
    (void)window;
#endif
}
