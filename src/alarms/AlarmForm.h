#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>

class QLabel;
class QToolButton;
class QWidget;

// A small always-on-top note: a close button, the time in large bold figures
// and a message. It serves both fired alarms and the user's stick-on notes.
// It is a window of its own, shown while the main window hides in the tray,
// and deletes itself when closed.
class TAlarmForm final : public QFrame
{
    Q_OBJECT
public:
    // `timeText` is "hh:mm" or empty; the time is drawn in `colourOverdue`.
    TAlarmForm(const QString& timeText, const QString& message, const QColor& colourOverdue);

Q_SIGNALS:
    // The user pressed the close button: pending alarms count as seen.
    void Acknowledged();

private:
    void CloseButtonClick();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    QWidget* ClosePanel;
    QToolButton* CloseButton;
    QLabel* Time;
    QLabel* Message;
    // Where the note was grabbed, relative to its top-left corner, while dragged.
    QPoint DragOffset;
    bool Dragging = false;
};
