#include "table/PageTableDelegate.h"

#include "invoice/ItemTableModel.h"
#include "page/PageFonts.h"
#include "table/SumsRows.h"

#include <QAbstractProxyModel>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>

namespace seikyu {

PageTableDelegate::PageTableDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void PageTableDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *table = qobject_cast<const QTableView *>(option.widget);
    const int solo = static_cast<int>(Column::Solo);
    PageCell cell = pageCellOf(index, m_columnWidths.value(solo, table ? table->columnWidth(solo) / m_zoom : 0));
    cell.selected = !m_paper && !isRenderingForOutput() && (option.state & QStyle::State_Selected);

    painter->save();
    // Fitted and drawn in page pixels, so the screen shows the lines the paper gets at any zoom.
    painter->translate(option.rect.topLeft());
    painter->scale(m_zoom, m_zoom);
    const QRectF rect(0, 0, m_columnWidths.value(index.column(), option.rect.width() / m_zoom),
                      m_rowHeights.value(index.row(), option.rect.height() / m_zoom));
    // On paper a long description is set down to the legible size, in two lines; the panel's table
    // is for editing, where a shortened line in its own size reads better than small type.
    const int minimum = m_paper ? std::min(LegiblePixelSize, m_pixelSize) : std::max(1, m_pixelSize - 2);
    paintPageCell(*painter, cell, rect, m_pixelSize, minimum);
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
