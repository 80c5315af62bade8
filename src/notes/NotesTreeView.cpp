#include "notes/NotesTreeView.h"

#include "controls/MenuKeys.h"
#include "notes/NotesTreeModel.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>

using namespace Qt::StringLiterals;

TNotesTreeView::TNotesTreeView(QWidget* parent)
    : QTreeView(parent)
{
    setObjectName(u"NotesTreeView"_s);
    setHeaderHidden(true);
    setIndentation(15);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setMinimumWidth(32);
    // Names show whole: a tree narrower than its longest name scrolls sideways.
    setTextElideMode(Qt::ElideNone);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    OpenMenuFromKeys(this);
}

int TNotesTreeView::NamesWidth() const
{
    return sizeHintForColumn(0) + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

void TNotesTreeView::EndNameEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TNotesTreeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    Q_EMIT RightButtonDown(indexAt(event->position().toPoint()), event->globalPosition().toPoint());
    event->accept();
}

void TNotesTreeView::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu opened on the button press already.
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    Q_EMIT RightButtonDown(currentIndex(), KeyboardMenuPoint(*this));
}

void TNotesTreeView::startDrag(Qt::DropActions)
{
    // The drop moves the category itself; the drag carries only a token, and
    // nothing is removed here whatever the drop answers.
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !model())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(model()->mimeData({ current }));
    drag->setPixmap(model()->data(current, Qt::DecorationRole).value<QIcon>().pixmap(16, 16));
    drag->exec(Qt::MoveAction);
}

bool TNotesTreeView::IsOurDrag(const QDropEvent* event) const
{
    return event->source() == this
        && event->mimeData()->hasFormat(QString::fromLatin1(TNotesTreeModel::MimeType));
}

void TNotesTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    if (IsOurDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TNotesTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    if (IsOurDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TNotesTreeView::dropEvent(QDropEvent* event)
{
    if (!IsOurDrag(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT CategoryDropped(indexAt(event->position().toPoint()));
}
