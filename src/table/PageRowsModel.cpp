#include "table/PageRowsModel.h"

namespace seikyu {

PageRowsModel::PageRowsModel(QObject *parent) : QAbstractProxyModel(parent) {}

void PageRowsModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    disconnect(m_dataChanged);
    QAbstractProxyModel::setSourceModel(source);
    if (source)
        m_dataChanged = connect(source, &QAbstractItemModel::dataChanged, this, &PageRowsModel::forwardDataChanged);
    endResetModel();
}

void PageRowsModel::setRows(int headerRows, int first, int end)
{
    headerRows = std::max(0, headerRows);
    first = std::max(headerRows, first);
    end = std::max(first, end);
    if (headerRows == m_header && first == m_first && end == m_end) {
        // The same rows, which may hold other texts now.
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    m_header = headerRows;
    m_first = first;
    m_end = end;
    endResetModel();
}

int PageRowsModel::sourceRow(int row) const
{
    return row < m_header ? row : m_first + row - m_header;
}

QModelIndex PageRowsModel::mapToSource(const QModelIndex &proxy) const
{
    if (!sourceModel() || !proxy.isValid() || proxy.model() != this)
        return {};
    // Out of the source's range (the table changed and the page is not cut anew yet): no cell.
    return sourceModel()->index(sourceRow(proxy.row()), proxy.column());
}

QModelIndex PageRowsModel::mapFromSource(const QModelIndex &source) const
{
    if (!source.isValid() || source.model() != sourceModel())
        return {};
    const int row = source.row();
    if (row < m_header)
        return index(row, source.column());
    if (row >= m_first && row < m_end)
        return index(m_header + row - m_first, source.column());
    return {};
}

QModelIndex PageRowsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex PageRowsModel::parent(const QModelIndex &) const
{
    return {};
}

int PageRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : m_header + m_end - m_first;
}

int PageRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

void PageRowsModel::forwardDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                       const QList<int> &roles)
{
    const int rows = rowCount();
    if (rows == 0)
        return;
    // Only the page's own rows: a change far down the table leaves the page alone.
    const int top = topLeft.row();
    const int bottom = bottomRight.row();
    const bool header = top < m_header;
    const bool own = top < m_end && bottom >= m_first;
    if (header || own)
        emit dataChanged(index(0, topLeft.column()), index(rows - 1, bottomRight.column()), roles);
}

} // namespace seikyu
