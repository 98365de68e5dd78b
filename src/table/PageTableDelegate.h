#pragma once

#include "table/ItemRow.h"
#include "widgets/TextFit.h"

#include <QStyledItemDelegate>

namespace seikyu {

/// How the page's item table shares its height among its rows, in page pixels.
struct PageTableRows
{
    qreal rowHeight = 0;     ///< a row of one line
    qreal tallRowHeight = 0; ///< a row whose description takes two lines
    int pixelSize = 0;       ///< the table's type size
    bool legible = true;     ///< the type is no smaller than the legible size
};

/// Up to 35 rows of one line keep the full size (30 items, the header and the four sums rows); a
/// longer table shrinks its rows and type so that it stays on the one page.
PageTableRows layoutPageTableRows(int rows, int tallRows, qreal available);

/// Draws the item table flat, like print: thin rules, the header row shaded, the total row bold,
/// amounts right-aligned. No style gradients, so the exported page stays pure vector. Each cell's
/// text fits its cell: it is set smaller when long; an amount or a date stays whole on its line,
/// and only a description wraps to a second line and then ends in "…".
class PageTableDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit PageTableDelegate(QObject *parent = nullptr);

    /// The type size on paper, in page pixels.
    void setPixelSize(int pixelSize) { m_pixelSize = pixelSize; }
    int pixelSize() const { return m_pixelSize; }
    /// How many screen pixels a page pixel takes; the cells are fitted in page pixels.
    void setZoom(double zoom) { m_zoom = zoom; }
    /// A delegate for paper draws the table as printed: never a selection, focus or hover, so no
    /// way of closing a panel can leave one for a PDF or a printout.
    void setPaper(bool paper) { m_paper = paper; }
    /// The cells' sizes on paper, in page pixels, by column and by row: text is fitted to these
    /// rather than to the screen's cells divided by the zoom, which rounding makes a little off.
    /// A column or row not given falls back to the screen's cell.
    void setPageCellSizes(const QList<qreal> &columnWidths, const QList<qreal> &rowHeights)
    {
        m_columnWidths = columnWidths;
        m_rowHeights = rowHeights;
    }

    /// Whether a description needs a second line in its row: it does not fit one line even at the
    /// smallest size the table allows.
    static bool needsTwoLines(const QString &description, qreal width, int pixelSize);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_pixelSize = 10;
    double m_zoom = 1.0;
    bool m_paper = false;
    QList<qreal> m_columnWidths;
    QList<qreal> m_rowHeights;
};

/// A cell's text as drawn: without control characters, on one line before fitting.
QString pageCellText(const QModelIndex &index);

/// Space left and right of a cell's text, in page pixels.
constexpr qreal CellPadding = 4;

} // namespace seikyu
