#include "table/PaperTable.h"

#include "table/PageTableDelegate.h"

#include <QHeaderView>
#include <QProxyStyle>
#include <QTableView>

namespace seikyu {

namespace {

/// The page table is the printed table: the selection it may share with the table panel belongs
/// in the panel.
class PaperTableStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_PanelItemViewRow || element == PE_PanelItemViewItem || element == PE_FrameFocusRect)
            return;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace

void setUpPaperTable(QTableView *table, QAbstractItemModel *model)
{
    table->setModel(model);
    auto *delegate = new PageTableDelegate(table);
    delegate->setPaper(true);
    table->setItemDelegate(delegate);
    auto *style = new PaperTableStyle;
    style->setParent(table);
    table->setStyle(style);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    table->setFrameShape(QFrame::NoFrame);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setCursor(Qt::PointingHandCursor);
    QPalette paper = table->palette();
    paper.setColor(QPalette::Base, Qt::white);
    table->setPalette(paper);
}

qreal sizePaperTable(QTableView *table, const std::vector<qreal> &rowHeights, qreal defaultRowHeight, int pixelSize,
                     const std::array<int, ColumnCount> &columnWidths, double zoom)
{
    auto *delegate = static_cast<PageTableDelegate *>(table->itemDelegate());
    delegate->setPixelSize(pixelSize);
    delegate->setZoom(zoom);
    QHeaderView *heights = table->verticalHeader();
    heights->setMinimumSectionSize(1);
    heights->setDefaultSectionSize(std::max(1, qRound(defaultRowHeight * zoom)));
    // Rounded where each row ends rather than row by row, so a long table keeps its exact height.
    qreal end = 0;
    QList<qreal> pageRowHeights;
    pageRowHeights.reserve(qsizetype(rowHeights.size()));
    for (size_t row = 0; row < rowHeights.size(); ++row) {
        const int top = qRound(end * zoom);
        // The height the row has on paper, rounded as the page at 100 % (which is what is printed)
        // rounds it: the cell's text is fitted to that at every zoom.
        pageRowHeights.append(qRound(end + rowHeights[row]) - qRound(end));
        end += rowHeights[row];
        heights->resizeSection(int(row), std::max(1, qRound(end * zoom) - top));
    }
    int left = 0;
    QList<qreal> pageColumnWidths;
    for (int column = 0; column < ColumnCount; ++column) {
        const int right = left + columnWidths[size_t(column)];
        table->setColumnWidth(column, qRound(right * zoom) - qRound(left * zoom));
        pageColumnWidths.append(right - left);
        left = right;
    }
    // Texts are fitted to their cells on paper, so the screen breaks lines where the PDF does.
    delegate->setPageCellSizes(pageColumnWidths, pageRowHeights);
    return end;
}

} // namespace seikyu
