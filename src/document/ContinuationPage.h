#pragma once

#include "document/PageView.h"
#include "page/SheetPainting.h"
#include "table/ItemRow.h"

#include <QPointer>
#include <array>
#include <vector>

class QAbstractItemModel;
class QTableView;

namespace seikyu {

class PageButton;
class PageRowsModel;

/// A further page of an invoice whose table does not end on its first page: a slim heading that
/// says whose invoice it is (title, customer with honorific, date and number, as the first page
/// shows them), the table's header row again with the page's run of rows, and the legend under
/// them where it falls on this page. Clicking the table or pressing Space or Return on it asks for
/// the table panel.
class ContinuationPage : public PageView
{
    Q_OBJECT

public:
    /// The first page's regions the heading repeats; read each time the page is drawn.
    struct Heading
    {
        QPointer<PageButton> title, customer, date, number;
    };

    ContinuationPage(QAbstractItemModel *table, const Heading &heading, QWidget *parent = nullptr);

    /// What the page shows of the table, its heights in page pixels.
    struct Rows
    {
        int headerRows = 0;
        int first = 0;
        int end = 0;
        std::vector<qreal> heights; ///< of every row shown, the repeated header's first
        qreal rowHeight = 0;        ///< of a row of one line
        int pixelSize = 0;
        std::array<int, ColumnCount> columnWidths{};
        bool legend = false;
    };
    /// Shows the rows at the zoom, and sizes the page to it.
    void showRows(const Rows &rows, double zoom);

    QTableView *table() const { return m_table; }
    PageRowsModel *rowsModel() const { return m_rows; }
    /// Where the table's rows (and the legend under them) end, in page pixels from the page's top.
    qreal contentBottom() const { return m_contentBottom; }
    /// The heading as drawn, from the first page's regions as they are now.
    ContinuationHeading heading() const;

signals:
    void tableActivated();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Heading m_heading;
    PageRowsModel *m_rows;
    QTableView *m_table;
    PageButton *m_legend;
    double m_zoom = 1.0;
    qreal m_contentBottom = 0;
};

} // namespace seikyu
