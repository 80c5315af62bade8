#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <functional>

// The notes text: TABs typed stay in the text, the edit keeps its own undo and
// clipboard. The right button puts the caret on the clicked character (unless
// text is selected) before the menu comes up.
class TNotesMemo final : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TNotesMemo(QWidget* parent = nullptr);

    std::function<void(const QPoint& globalPos)> OnContextMenu;

    // Lines wrap at the edge: only a vertical scroll bar then, both otherwise.
    void SetWordWrap(bool wrap);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};
