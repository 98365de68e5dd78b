#pragma once

#include <QAbstractProxyModel>

namespace seikyu {

/// The rows of the item table that one further page shows: the header rows again, then a run of
/// the table's rows. Cells read through to the table, so the page draws what the table holds.
class PageRowsModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit PageRowsModel(QObject *parent = nullptr);

    /// Shows the first `headerRows` rows of the source, then its rows [first, end).
    void setRows(int headerRows, int first, int end);
    int headerRows() const { return m_header; }
    int firstRow() const { return m_first; }
    int endRow() const { return m_end; }

    void setSourceModel(QAbstractItemModel *source) override;
    QModelIndex mapToSource(const QModelIndex &proxy) const override;
    QModelIndex mapFromSource(const QModelIndex &source) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;

private:
    void forwardDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);
    int sourceRow(int row) const;

    int m_header = 0;
    int m_first = 0;
    int m_end = 0;
    QMetaObject::Connection m_dataChanged;
};

} // namespace seikyu
