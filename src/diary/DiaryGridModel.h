#pragma once

#include <QAbstractTableModel>
#include <QString>

class TDiaryStore;
struct TDiaryEvent;

// The diary grid's cells over the store's working list: 23 event rows of four
// columns (lock, type, time, description), the column headers above them.
// Model row r shows the (r + 1)-th event of the selected day; a row past the
// end of the list shows nothing until something is typed there. Reading never
// adds events; writing a description adds them as the store's EventAtRow does.
//
// Pictures are given as image numbers of the calendar images (ImageRole, -1
// for none) and text styles as BoldRole and UnderlineRole, so the grid draws
// them on its own font.
class TDiaryGridModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role { ImageRole = Qt::UserRole + 1, BoldRole, UnderlineRole };
    static constexpr int EventRows = 23;

    explicit TDiaryGridModel(TDiaryStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The event model row `row` shows, or null when the list is shorter.
    const TDiaryEvent* EventShown(int row) const;
    // The store changed: every cell and the headers are read again.
    void Refresh();
    // From now on the model shows nothing and changes nothing: the grid's
    // teardown must not reach a store that may be gone already.
    void Detach() { Store = nullptr; }

    // Shown for a time the clock never reaches.
    static QString ImpossibleTimeText();

Q_SIGNALS:
    // The cell editor changed a description.
    void DescriptionEdited();

private:
    TDiaryStore* Store;
};
