#include "notes/NotesTreeModel.h"

#include "notes/NotesImages.h"
#include "platform/AnsiText.h"

#include <QMimeData>

using namespace Qt::StringLiterals;

TNotesTreeModel::TNotesTreeModel(TNotesTree& tree, TNameLess nameLess, QObject* parent)
    : QAbstractItemModel(parent)
    , Tree(tree)
    , NameLess(std::move(nameLess))
    , Images { TreeImage(TreeImageText), TreeImage(TreeImageTable) }
{
}

TNoteNode* TNotesTreeModel::NodeOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<TNoteNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TNotesTreeModel::IndexOf(const TNoteNode* node) const
{
    if (!node)
        return {};
    return createIndex(static_cast<int>(node->Row), 0, const_cast<TNoteNode*>(node));
}

QModelIndex TNotesTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column != 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const std::vector<TNoteLink>& children = Tree.ChildrenOf(NodeOf(parent));
    if (static_cast<size_t>(row) >= children.size())
        return {};
    return createIndex(row, 0, children[static_cast<size_t>(row)].get());
}

QModelIndex TNotesTreeModel::parent(const QModelIndex& child) const
{
    const TNoteNode* node = NodeOf(child);
    return node ? IndexOf(node->Parent) : QModelIndex();
}

int TNotesTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(Tree.ChildrenOf(NodeOf(parent)).size());
}

int TNotesTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TNotesTreeModel::data(const QModelIndex& index, int role) const
{
    const TNoteNode* node = NodeOf(index);
    if (!node)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return FromCore(node->Name);
    if (role == Qt::DecorationRole)
        return Images[node->ImageIndex ? 1 : 0];
    return {};
}

bool TNotesTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TNoteNode* node = NodeOf(index);
    if (!node || role != Qt::EditRole)
        return false;
    RenameCategory(*node, ToCore(value.toString()));
    return true;
}

Qt::ItemFlags TNotesTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
        | Qt::ItemIsDropEnabled;
}

QStringList TNotesTreeModel::mimeTypes() const
{
    return { QString::fromLatin1(MimeType) };
}

QMimeData* TNotesTreeModel::mimeData(const QModelIndexList& indexes) const
{
    // What moves is the selected category; the data only says that it is one.
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(MimeType), indexes.isEmpty() ? QByteArray() : "1");
    return data;
}

template <typename Sort> void TNotesTreeModel::Relayout(Sort sort)
{
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    sort();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const TNoteNode* node = NodeOf(index);
        after << (node ? createIndex(
                      static_cast<int>(node->Row), index.column(), const_cast<TNoteNode*>(node))
                       : QModelIndex());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

QModelIndex TNotesTreeModel::AddCategory(TNoteNode* parent, const std::string& name)
{
    const int row = static_cast<int>(Tree.ChildrenOf(parent).size());
    beginInsertRows(IndexOf(parent), row, row);
    TNoteNode& node = Tree.Add(parent, name);
    endInsertRows();
    return IndexOf(&node);
}

void TNotesTreeModel::DeleteCategory(TNoteNode& node)
{
    const int row = static_cast<int>(node.Row);
    beginRemoveRows(IndexOf(node.Parent), row, row);
    Tree.Delete(node);
    endRemoveRows();
}

void TNotesTreeModel::RenameCategory(TNoteNode& node, const std::string& name)
{
    node.Name = name;
    const QModelIndex index = IndexOf(&node);
    Q_EMIT dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
    if (node.Parent)
        Relayout([&] { Tree.SortChildren(node.Parent, NameLess); });
    else
        Relayout([&] { Tree.SortAll(NameLess); });
}

void TNotesTreeModel::MoveCategory(TNoteNode& node, TNoteNode& target)
{
    const int row = static_cast<int>(node.Row);
    const int to = static_cast<int>(target.Children.size());
    // Already the target's last child: only the sorts remain.
    if (node.Parent != &target || node.Row + 1 != target.Children.size()) {
        beginMoveRows(IndexOf(node.Parent), row, row, IndexOf(&target), to);
        Tree.Move(node, &target);
        endMoveRows();
    }
    Relayout([&] {
        Tree.SortChildren(&target, NameLess);
        Tree.SortSubtree(&node, NameLess);
    });
}

void TNotesTreeModel::SetImage(TNoteNode& node, uint8_t image)
{
    node.ImageIndex = image;
    const QModelIndex index = IndexOf(&node);
    Q_EMIT dataChanged(index, index, { Qt::DecorationRole });
}
