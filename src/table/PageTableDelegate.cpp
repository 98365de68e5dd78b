#include "table/PageTableDelegate.h"

#include "invoice/ItemTableModel.h"
#include "table/SumsRows.h"
#include "widgets/PageFonts.h"

#include <QAbstractProxyModel>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>

namespace seikyu {

namespace {
constexpr qreal FullRowHeight = 15;
/// A row with a two-line description is this much taller than a row of one line.
constexpr qreal TallRowFactor = 1.6;
/// The type takes this share of a row's height.
constexpr qreal TypeToRow = 0.64;

/// A cell's text as it is drawn in a cell of `box` page pixels, set in `pixelSize` and no smaller
/// than `minimumPixelSize` unless it must stay whole.
FittedText fitCell(const QString &text, Column column, const QSizeF &box, int pixelSize, int minimumPixelSize,
                   bool bold)
{
    TextFitRequest request;
    request.box = QSizeF(box.width() - 2 * CellPadding, box.height());
    request.pixelSize = pixelSize;
    request.minimumPixelSize = minimumPixelSize;
    if (column == Column::Name) {
        request.maximumLines = 2;
        request.overflow = TextFitRequest::Overflow::Elide;
    } else {
        request.wrap = false; // amounts, dates and quantities stay whole on their line
    }
    return fitText(text, pageFont(pixelSize, bold), request);
}

} // namespace

PageTableRows layoutPageTableRows(int rows, int tallRows, qreal available)
{
    const qreal units = std::max(1, rows) + (TallRowFactor - 1) * std::max(0, tallRows);
    PageTableRows layout;
    layout.rowHeight = std::min(FullRowHeight, available / units);
    layout.tallRowHeight = layout.rowHeight * TallRowFactor;
    layout.pixelSize = std::max(1, static_cast<int>(layout.rowHeight * TypeToRow));
    layout.legible = layout.pixelSize >= LegiblePixelSize;
    return layout;
}

QString pageCellText(const QModelIndex &index)
{
    return printableText(index.data(Qt::DisplayRole).toString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

PageTableDelegate::PageTableDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

bool PageTableDelegate::needsTwoLines(const QString &description, qreal width, int pixelSize)
{
    const QFont smallest = pageFont(std::min(LegiblePixelSize, pixelSize));
    return exceedsWidth(QFontMetricsF(smallest), description, width - 2 * CellPadding - 0.01);
}

void PageTableDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // A further page shows the table's rows through a model of its own rows.
    QModelIndex source = index;
    if (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model()))
        source = proxy->mapToSource(index);
    const auto *model = qobject_cast<const ItemTableModel *>(source.model());
    const RowPtr row = model && source.isValid() ? model->row(source.row()) : nullptr;
    const bool header = row && row->isHeader();
    const bool sumsRow = row && !row->isHeader() && isSumsRow(row->cells());
    const bool total = sumsRow && isPayableRow(row->cells());
    const bool selected = !m_paper && !isRenderingForOutput() && (option.state & QStyle::State_Selected);

    painter->save();
    // Fitted and drawn in page pixels, so the screen shows the lines the paper gets at any zoom.
    painter->translate(option.rect.topLeft());
    painter->scale(m_zoom, m_zoom);
    const QRectF cell(0, 0, m_columnWidths.value(index.column(), option.rect.width() / m_zoom),
                      m_rowHeights.value(index.row(), option.rect.height() / m_zoom));
    if (header)
        painter->fillRect(cell, QColor(0xe8, 0xe8, 0xe8));
    else if (selected)
        painter->fillRect(cell, QColor(0xcc, 0xdd, 0xf5));

    const auto column = static_cast<Column>(index.column());
    // On paper a long description is set down to the legible size, in two lines; the panel's table
    // is for editing, where a shortened line in its own size reads better than small type.
    const int minimum = m_paper ? std::min(LegiblePixelSize, m_pixelSize) : std::max(1, m_pixelSize - 2);
    QRectF area = cell.adjusted(CellPadding, 0, -CellPadding, 0);
    QString text = pageCellText(index);
    const QString mark = index.data(ItemTableModel::MarkRole).toString();
    if (sumsRow && column == Column::Much) {
        // A sums row's label ("消費税(10%)") reads across the empty unit-price cell beside it.
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        const auto *table = qobject_cast<const QTableView *>(view);
        const int solo = static_cast<int>(Column::Solo);
        const qreal widened = m_columnWidths.value(solo, table ? table->columnWidth(solo) / m_zoom : 0);
        area.setLeft(area.left() - widened);
    } else if (sumsRow && column != Column::Sums) {
        text.clear(); // the blank cells of the sums rows
    }
    QSizeF room = area.size() + QSizeF(2 * CellPadding, 0);
    if (!mark.isEmpty()) {
        // The tax mark stays whole: only the description before it may be shortened.
        text.chop(mark.size());
        room.rwidth() -= QFontMetricsF(pageFont(m_pixelSize, total)).horizontalAdvance(mark);
    }
    FittedText fitted = fitCell(text, column, room, m_pixelSize, minimum, total);
    if (!mark.isEmpty() && !fitted.lines.isEmpty())
        fitted.lines.last().append(mark);
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    painter->setPen(Qt::black);
    drawFittedText(*painter, area, pageFont(m_pixelSize, total), fitted,
                   (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);

    // Rules: a line under every row, heavier under the header and above the total; column rules,
    // which the sums rows keep only around their amounts.
    painter->setPen(QPen(QColor(0x55, 0x55, 0x55), header || total ? 1.0 : 0.5));
    painter->drawLine(cell.bottomLeft() + QPointF(0, 0.5), cell.bottomRight() + QPointF(1, 0.5));
    if (total)
        painter->drawLine(cell.topLeft(), cell.topRight() + QPointF(1, 0));
    painter->setPen(QPen(QColor(0x88, 0x88, 0x88), 0.5));
    if (index.column() > 0 && (!sumsRow || column == Column::Sums))
        painter->drawLine(cell.topLeft(), cell.bottomLeft() + QPointF(0, 1));
    painter->restore();
}

QWidget *PageTableDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setFrame(false);
    return editor;
}

} // namespace seikyu
