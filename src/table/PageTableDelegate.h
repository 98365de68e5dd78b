#pragma once

#include "page/PageCells.h"
#include "page/TableCellPainting.h"
#include "page/TextFit.h"
#include "table/ItemRow.h"

#include <QStyledItemDelegate>

namespace seikyu {

/// Draws the item table's cells as the page does (paintPageCell), fitted in page pixels at any zoom.
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
    bool isPaper() const { return m_paper; }
    /// The cells' sizes on paper, in page pixels, by column and by row: text is fitted to these
    /// rather than to the screen's cells divided by the zoom, which rounding makes a little off.
    /// A column or row not given falls back to the screen's cell.
    void setPageCellSizes(const QList<qreal> &columnWidths, const QList<qreal> &rowHeights)
    {
        m_columnWidths = columnWidths;
        m_rowHeights = rowHeights;
    }

    QList<qreal> pageColumnWidths() const { return m_columnWidths; }
    QList<qreal> pageRowHeights() const { return m_rowHeights; }

    /// Whether a description needs a second line in its row: it does not fit one line even at the
    /// smallest size the table allows.
    static bool needsTwoLines(const QString &description, qreal width, int pixelSize)
    {
        return descriptionNeedsTwoLines(description, width, pixelSize);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_pixelSize = 10;
    double m_zoom = 1.0;
    bool m_paper = false;
    QList<qreal> m_columnWidths;
    QList<qreal> m_rowHeights;
};

} // namespace seikyu
