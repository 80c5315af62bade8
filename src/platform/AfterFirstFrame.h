#pragma once

#include <functional>

class QObject;
class QWidget;

// Runs `then` once the window's first frame is on the screen: the work it does
// there no longer delays the frame. Nothing runs if `context` is gone by then.
// Call it after the window's show().
void AfterFirstFrame(QWidget& window, QObject* context, std::function<void()> then);
