#pragma once

#include "notes/NotesTree.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <array>

// The notes tree as an item model: a thin adapter that reads the core tree and
// changes it only through its own calls, emitting the model's signals. An
// index's internal pointer is its TNoteNode; the tree is the one source.
class TNotesTreeModel final : public QAbstractItemModel
{
    Q_OBJECT
public:
    static constexpr const char* MimeType = "application/x-talvo95-notes-category";

    TNotesTreeModel(TNotesTree& tree, TNameLess nameLess, QObject* parent = nullptr);

    static TNoteNode* NodeOf(const QModelIndex& index);
    QModelIndex IndexOf(const TNoteNode* node) const;

    // Adds "name" as the last child of `parent` (top level for null).
    QModelIndex AddCategory(TNoteNode* parent, const std::string& name);
    void DeleteCategory(TNoteNode& node);
    // Renames and re-sorts the category's siblings, or the whole tree for a
    // top-level category.
    void RenameCategory(TNoteNode& node, const std::string& name);
    // Makes the node the last child of `target`, then sorts the target's
    // children and every level of the moved subtree.
    void MoveCategory(TNoteNode& node, TNoteNode& target);
    void SetImage(TNoteNode& node, uint8_t image);
    // Around a load or a clear of the whole tree.
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

private:
    // Sorts under the layout signals, keeping the persistent indexes on their nodes.
    template <typename Sort> void Relayout(Sort sort);

    TNotesTree& Tree;
    TNameLess NameLess;
    std::array<QIcon, 2> Images;
};
