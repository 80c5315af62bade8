#pragma once

#include <QTreeView>

// The category tree: names edited in place (F2 or a click on the selected
// name), the right button selecting before the menu opens, and dragging a
// category onto another. It only reports what the user did; the notes page
// decides what happens.
class TNotesTreeView final : public QTreeView
{
    Q_OBJECT
public:
    explicit TNotesTreeView(QWidget* parent = nullptr);

    // Closes a name edit, keeping what was typed.
    void EndNameEdit();
    // How wide the tree must be to show its open categories' names whole.
    int NamesWidth() const;

Q_SIGNALS:
    // The right button went down over `index` (invalid over empty space), or
    // the menu key was pressed; the menu belongs at `globalPos`.
    void RightButtonDown(const QModelIndex& index, const QPoint& globalPos);
    // A category of this tree was dropped on `target` (invalid: empty space).
    void CategoryDropped(const QModelIndex& target);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool IsOurDrag(const QDropEvent* event) const;
};
