#pragma once

#include "table/ItemRow.h"

#include <QAbstractTableModel>
#include <QList>

namespace seikyu {

/// The item table (`bank`): the ordered rows shown by the page table and the table panel.
/// Row 0 is the fixed header row. Every change is announced through the model's signals, which
/// is how both views follow it and how the document notices edits.
class ItemTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// The mark a description carries for its tax class ("※" reduced rate, "（非課税）"), as text.
    static constexpr int MarkRole = Qt::UserRole + 1;

    explicit ItemTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    int count() const { return static_cast<int>(m_rows.size()); }
    const QList<RowPtr> &rows() const { return m_rows; }
    RowPtr row(int index) const;
    RowPtr lastRow() const { return m_rows.isEmpty() ? nullptr : m_rows.last(); }

    void addRow(const RowPtr &row);
    void addRows(const QList<RowPtr> &rows);
    void insertRowAt(int index, const RowPtr &row);
    /// Inserts the rows as one block, announced once.
    void insertRowsAt(int index, const QList<RowPtr> &rows);
    void removeRowAt(int index);
    /// Removes the rows at the given indexes (any order, duplicates ignored) in as few steps as possible.
    void removeRowsAt(QList<int> indexes);
    void setRows(const QList<RowPtr> &rows);

    /// Sets one cell and announces it; the header row is never written.
    void setCell(int row, Column column, const CellValue &value);
    /// Announces that cells of the given rows changed in place.
    void rowsChangedInPlace(int first, int last);

    /// Whether reduced-rate rows show their ※: only an invoice at the standard rate has another
    /// rate to tell them from.
    void setMarksReducedRows(bool marks);
    bool marksReducedRows() const { return m_marksReducedRows; }
    /// Whether some row shows the reduced-rate ※.
    bool showsReducedRows() const;
    /// The mark after a row's description: " ※" for a reduced-rate row (when marked), "（非課税）"
    /// for a row outside every tax base; empty otherwise.
    QString markOf(const ItemRow &row) const;

signals:
    /// A cell is about to be edited through a view: the document records the edit for undo and
    /// applies it. The model itself does not change the cell.
    void cellEditRequested(int row, seikyu::Column column, const QString &text);

private:
    QList<RowPtr> m_rows;
    bool m_marksReducedRows = false;
};

} // namespace seikyu
