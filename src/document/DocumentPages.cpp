// An invoice of more than one page: the table cut into pages, the further pages beside the first.
#include "document/ContinuationPage.h"
#include "document/Document.h"
#include "invoice/ItemTableModel.h"
#include "page/PageGeometry.h"
#include "page/TablePlan.h"
#include "table/PageTableDelegate.h"
#include "table/PaperTable.h"
#include "table/SumsRows.h"
#include "widgets/PageButton.h"
#include "widgets/RoomBox.h"

#include <QFrame>
#include <QLayout>
#include <QTableView>

namespace seikyu {

using namespace page;

QList<PageView *> Document::pages() const
{
    QList<PageView *> all;
    if (page)
        all.append(page);
    for (const QPointer<ContinuationPage> &further : m_continuationPages) {
        if (further)
            all.append(further);
    }
    return all;
}

void Document::hideRowsFrom(int row)
{
    const int rows = m_model->table()->count();
    if (!m_rowsHidden && row >= rows)
        return;
    for (int index = 0; index < rows; ++index) {
        const bool hidden = index >= row;
        if (grid->isRowHidden(index) != hidden)
            grid->setRowHidden(index, hidden);
    }
    m_rowsHidden = row < rows;
}

void Document::placeRemarksOn(PageView *sheet, qreal contentBottom)
{
    if (!noteRoom)
        return;
    if (noteRoom->parentWidget() != sheet)
        noteRoom->setParent(sheet);
    placeRemarks(contentBottom);
    noteRoom->raise();
}

void Document::dropContinuationPages()
{
    if (m_continuationPages.isEmpty() && !m_rowsHidden)
        return;
    if (noteRoom && noteRoom->parentWidget() != page)
        noteRoom->setParent(page);
    for (const QPointer<ContinuationPage> &further : std::as_const(m_continuationPages))
        delete further.data();
    m_continuationPages.clear();
    hideRowsFrom(m_model->table()->count());
    page->setFoot(QString(), m_zoom);
    main->setFixedSize(page->size());
}

void Document::fitPageTableOnPages(const TablePlan &plan)
{
    const std::vector<PageSlice> &slices = plan.slices;
    const int count = static_cast<int>(slices.size());
    const std::vector<qreal> &heights = plan.rowHeights;
    const int headerRows = m_model->table()->count() > 0 && m_model->table()->row(0)->isHeader() ? 1 : 0;

    // The first page: today's page with its share of the rows; the rest of the table is hidden
    // under them, where it would run past the page.
    const PageSlice &first = slices.front();
    hideRowsFrom(first.endRow);
    const std::vector<qreal> firstRows(heights.begin(), heights.begin() + first.endRow);
    const qreal end = sizePaperTable(grid, firstRows, plan.type.rowHeight, plan.type.pixelSize, columnWidths(), m_zoom);
    m_gridLegend->setVisible(first.legend);
    if (first.legend) {
        m_gridLegend->setGeometry(qRound(RoomInset * m_zoom), qRound((RoomInset + end) * m_zoom),
                                  qRound((Right - Left - 2 * RoomInset) * m_zoom), qRound(LegendHeight * m_zoom));
        m_gridLegend->setZoom(m_zoom);
        m_gridLegend->raise();
    }
    grid->viewport()->update();

    // The further pages, made as they are needed and kept while the table is long.
    auto *pile = main->layout();
    while (m_continuationPages.size() < count - 1) {
        auto *further = new ContinuationPage(m_model->table(), {head, whom, date, numb}, main);
        connect(further, &ContinuationPage::tableActivated, this, [this] { gridShow(); });
        pile->addWidget(further);
        further->show();
        m_continuationPages.append(further);
    }
    const std::array<int, ColumnCount> widths = columnWidths();
    for (int index = 1; index < count; ++index) {
        const PageSlice &slice = slices[size_t(index)];
        ContinuationPage::Rows shown;
        shown.headerRows = slice.repeatsHeader ? headerRows : 0;
        shown.first = slice.firstRow;
        shown.end = slice.endRow;
        shown.heights.assign(heights.begin(), heights.begin() + shown.headerRows);
        shown.heights.insert(shown.heights.end(), heights.begin() + slice.firstRow, heights.begin() + slice.endRow);
        shown.rowHeight = plan.type.rowHeight;
        shown.pixelSize = plan.type.pixelSize;
        shown.columnWidths = widths;
        shown.legend = slice.legend;
        m_continuationPages.at(index - 1)->showRows(shown, m_zoom);
    }

    // The remarks where they fall; without remarks, their place on screen after the last page's content.
    int remarksPage = count - 1;
    for (int index = 0; index < count; ++index) {
        if (slices[size_t(index)].remarks)
            remarksPage = index;
    }
    if (remarksPage == 0)
        placeRemarksOn(page, GridTop + 2 * RoomInset + end + (first.legend ? LegendHeight : 0));
    else
        placeRemarksOn(m_continuationPages.at(remarksPage - 1),
                       m_continuationPages.at(remarksPage - 1)->contentBottom());

    while (m_continuationPages.size() > count - 1)
        delete m_continuationPages.takeLast().data();

    const QList<PageView *> all = pages();
    for (int index = 0; index < all.size(); ++index)
        all.at(index)->setFoot(QStringLiteral("%1 / %2").arg(index + 1).arg(all.size()), m_zoom);
    const int gap = qRound(PageGap * m_zoom);
    pile->setSpacing(gap);
    main->setFixedSize(page->width(), int(all.size()) * page->height() + (int(all.size()) - 1) * gap);
}

} // namespace seikyu
