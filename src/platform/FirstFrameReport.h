#pragma once

#include <functional>

class QObject;
class QWidget;

// For start-up measurements: when the environment variable
// TALVO95_REPORT_FIRST_FRAME is set, prints "first frame <ms> ms, cpu <ms> ms"
// once to standard error: the time from the start of the process to the end of the
// window's first expose, by which the window's backing store has been painted
// and flushed to the screen, and the processor time the process has used by
// then, which a busy machine does not inflate. The variable may hold the launcher's clock
// ($EPOCHREALTIME, seconds since 1970) taken just before it started the
// program, which counts the loading of the libraries too; any other value
// takes the process's own start time, which the system keeps only to 10 ms.
// Without the variable nothing is watched. Call it after the window's show().
void ReportFirstFrame(QWidget& window);

// Runs `then` once the window's first frame is on the screen: the work it does
// there no longer delays the frame. Nothing runs if `context` is gone by then.
// Call it after the window's show().
void AfterFirstFrame(QWidget& window, QObject* context, std::function<void()> then);
