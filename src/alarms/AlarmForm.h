#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>

class QLabel;
class QMenu;
class QToolButton;
class QWidget;

// A small always-on-top note: a close button, the time in large bold figures
// and a message; an alarm's note also offers "Snooze". It serves both fired
// alarms and the user's stick-on notes. It is a window of its own, shown while
// the main window hides in the tray, and deletes itself when closed. Closing
// it by any means (its button, Escape or Return, the window manager) counts
// as seeing it.
class TAlarmForm final : public QFrame
{
    Q_OBJECT
public:
    // `timeText` is "hh:mm" or empty; the time is drawn in `colourOverdue`.
    TAlarmForm(const QString& timeText, const QString& message, const QColor& colourOverdue);

    // The snoozes offered, in minutes.
    static constexpr int SnoozeChoices[] = { 5, 10, 15, 30, 60 };
    // Adds "Snooze": a click snoozes for `minutes`, its menu offers the others.
    void EnableSnooze(int minutes);
    // Marks the note of an alarm that rang late: "missed at 14:30".
    void MarkMissed(const QString& timeText);
    // Wraps the message so that the note is at most `width` pixels wide.
    void FitWithin(int width);
    // Closes the note without acknowledging anything.
    void CloseQuietly();

Q_SIGNALS:
    // The note was closed by the user, by any means: pending alarms count as seen.
    void Acknowledged();
    // The user chose to hear the alarm again after `minutes`; the note closes.
    void SnoozeChosen(int minutes);
    // The note is closing, quietly or not.
    void Closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CloseButtonClick();
    void Snooze(int minutes);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    QWidget* ClosePanel;
    QToolButton* CloseButton;
    QLabel* Time;
    QLabel* Message;
    QLabel* MissedMark = nullptr;
    QToolButton* SnoozeButton = nullptr;
    int SnoozeMinutes = 0;
    bool Quiet = false;
    // Where the note was grabbed, relative to its top-left corner, while dragged.
    QPoint DragOffset;
    bool Dragging = false;
};
