#pragma once

class QWidget;

// Keeps a small note window out of the taskbar and the pager. Called after
// the window is created and before it is first shown; elsewhere than on X11
// a tool window stays out of the taskbar already.
void KeepOutOfTaskbar(QWidget* window);
