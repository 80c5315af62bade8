#pragma once

#include <QTableView>

class TCalcStackModel;

// The stack grid: a press selects the value of the row under the mouse, a
// drag moves that row to another place, a double-click asks for a recall.
// It takes only the navigation keys, so every typed character is left to the
// page's key routing (no type-ahead search, no copy of the selected cell).
class TCalculatorGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit TCalculatorGrid(TCalcStackModel& model, QWidget* parent = nullptr);

    // The selected display row (0 top .. 7 X).
    int SelectedRow() const;
    void SetSelectedRow(int row);
    QColor Colour() const;
    void SetColour(const QColor& colour);

    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    void MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    // The Menu key or Shift+F10: the menu belongs below the selected row.
    void MenuKeyPressed(const QPoint& globalPos);
    void DoubleClicked();
    void RowMoved(int from, int to);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FitToContents();
    // The row a drag at viewport height y would drop on.
    int DropRowAt(int y) const;

    TCalcStackModel& Model;
    int DragFrom = -1;
    int DropRow = -1;
    QPoint PressPos;
    bool Dragging = false;
};
