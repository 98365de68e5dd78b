#pragma once

#include "invoice/Invoice.h"
#include "page/SheetRegions.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <map>

class QFrame;
class QRect;
class QTableView;
class QWidget;

namespace seikyu {

class ContinuationPage;
class InvoiceModel;
class PageButton;
class PageView;
class RoomBox;
struct TablePlan;

/// The invoice page on screen: its regions in their rooms, the item table and, for a table too long
/// for one page, the further pages beside the first, all laid out at the zoom. It shows what the
/// invoice model holds and writes back what its regions are given; what a click on a region opens is
/// the document's. Its widgets belong to the window and read as null once the window is gone.
class InvoicePageView : public QObject
{
    Q_OBJECT

public:
    /// Builds the page in a box of `window`, the regions carrying the names the application finds
    /// them by ("head", "dateRoom", "grid", …).
    InvoicePageView(InvoiceModel *model, QWidget *window);
    ~InvoicePageView() override;

    /// The box that holds every page, the window's central part.
    QFrame *box() const;
    /// Every page, the first first: one, unless the table goes on over further pages.
    QList<PageView *> pages() const;
    /// The first page's item table.
    QTableView *table() const;
    /// The region that shows one of the page's lines (not the legend or the address block: they
    /// are the table's and the customer line's).
    PageButton *region(SheetRegion region) const;

    /// A region's guide border: on screen while the region waits to be used or disagrees with the
    /// rest of the invoice.
    void setGuide(SheetRegion region, bool shown);
    void settleTable();
    /// Every region's guide border off, the table's included.
    void clearGuides();

    void setZoom(double zoom);
    /// Lays the table out again: over further pages when it runs past the first, the remarks under it.
    void fitTable();
    /// The customer's address block in the envelope's window in place of the customer line, when the
    /// invoice has an address (the title then at the right); the customer line and title as ever
    /// without.
    void showCustomerAddress();
    /// The model follows what the title, issuer, amount box and stamp regions are given from now on,
    /// starting from what they show.
    void bindModel();
    /// Shows on the page what the model holds of the title, issuer, amount box, stamp, number and
    /// remarks; the dates are shown in their form by the document.
    void showModel();

signals:
    /// A region was clicked or activated from the keyboard.
    void regionActivated(SheetRegion region, PageButton *button);
    /// The table (on any page) or its legend was clicked.
    void tableActivated();

private:
    void build(QWidget *window);
    /// The words of the document's kind: the amount box's heading, the remarks' heading, the
    /// receipt's revenue stamp region.
    void showKind();
    /// A paper receipt's revenue stamp by its sums, or why none is due.
    void showStampDuty();
    RoomBox *room(SheetRegion region) const;
    QList<RoomBox *> rooms() const;
    /// Places a room at its page geometry, at the zoom, with what it holds.
    void placeRoom(RoomBox *room, const QRect &pageGeometry);
    qreal remarksHeight() const;
    void placeRemarks(qreal tableBottom);
    void placeRemarksOn(PageView *sheet, qreal contentBottom);
    void placeLegend(qreal tableEnd);
    /// Cuts a table too long for its one page into pages, its rows at the standard size.
    void fitTableOnPages(const TablePlan &plan);
    /// Back to one page: the further pages go and the first page shows every row.
    void dropContinuationPages();
    /// Hides the first page's rows from `row` on (they are on further pages); none when past the end.
    void hideRowsFrom(int row);

    InvoiceModel *m_model;
    QPointer<QFrame> m_box;
    QPointer<PageView> m_page;
    QPointer<QTableView> m_table;
    QPointer<RoomBox> m_tableRoom;
    /// The line under the table's rows that explains the ※ of reduced-rate rows.
    QPointer<PageButton> m_legend;
    std::map<SheetRegion, QPointer<RoomBox>> m_rooms;
    std::map<SheetRegion, QPointer<PageButton>> m_regions;
    /// The further pages of a table too long for the first page, in order.
    QList<QPointer<ContinuationPage>> m_continuationPages;
    /// Whether the first page's table hides the rows that further pages show.
    bool m_rowsHidden = false;
    double m_zoom = 1.0;
    DocumentKind m_shownKind = DocumentKind::Invoice;
    bool m_shownAmountsOut = false;
};

} // namespace seikyu
