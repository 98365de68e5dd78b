#include "table/PageTableDelegate.h"

#include "table/ItemTableModel.h"
#include "widgets/PageFonts.h"

#include <QLineEdit>
#include <QPainter>

namespace seikyu {

PageTableDelegate::PageTableDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void PageTableDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const ItemTableModel *>(index.model());
    const RowPtr row = model ? model->row(index.row()) : nullptr;
    const bool header = row && row->isHeader();
    const bool total =
        row && cellIsText(row->value(Column::Much)) && row->value(Column::Much).toString() == QStringLiteral("合計");

    painter->save();
    const QRectF cell = option.rect;
    if (header)
        painter->fillRect(cell, QColor(0xe8, 0xe8, 0xe8));
    else if (!isRenderingForOutput() && (option.state & QStyle::State_Selected))
        painter->fillRect(cell, QColor(0xcc, 0xdd, 0xf5));

    QFont font = pageFont(m_pixelSize, total);
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QString text =
        printableText(index.data(Qt::DisplayRole).toString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    const QRectF textRect = cell.adjusted(4, 0, -4, 0);
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, static_cast<int>(textRect.width()));
    painter->drawText(textRect, static_cast<int>(alignment | Qt::AlignVCenter), shown);

    // Rules: a line under every row, heavier under the header and above the total; column rules.
    painter->setPen(QPen(QColor(0x55, 0x55, 0x55), header || total ? 1.0 : 0.5));
    painter->drawLine(cell.bottomLeft() + QPointF(0, 0.5), cell.bottomRight() + QPointF(1, 0.5));
    if (total)
        painter->drawLine(cell.topLeft(), cell.topRight() + QPointF(1, 0));
    painter->setPen(QPen(QColor(0x88, 0x88, 0x88), 0.5));
    if (index.column() > 0)
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
