// The invoice page: where each region sits on the A4 sheet and how its text is set.
#include "document/AddressOffset.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/PageView.h"
#include "invoice/ItemTableModel.h"
#include "invoice/OpenedInvoice.h"
#include "page/InvoiceSheets.h"
#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/SheetRegions.h"
#include "page/TablePlan.h"
#include "sections/EntryFields.h"
#include "table/PageTableDelegate.h"
#include "table/PaperTable.h"
#include "table/SumsRows.h"
#include "widgets/PageButton.h"
#include "widgets/RoomBox.h"

#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace seikyu {

namespace {

using namespace page;

QRect scaled(const QRect &r, double zoom)
{
    return QRect(qRound(r.x() * zoom), qRound(r.y() * zoom), qRound(r.width() * zoom), qRound(r.height() * zoom));
}

template <typename T> T *named(T *object, const char *name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

RoomBox *makeRoom(QWidget *page, const char *name, const QRect &geometry)
{
    auto *room = named(new RoomBox(page), name);
    room->setPageGeometry(geometry);
    room->setGeometry(geometry);
    return room;
}

RoomBox *makeRoom(QWidget *page, const char *name, SheetRegion region)
{
    return makeRoom(page, name, sheetRoom(region));
}

/// A region of the page in its room, set as the page sets it.
PageButton *makeRegion(RoomBox *room, SheetRegion region, const char *name)
{
    const PageRegion style = sheetRegionStyle(region);
    auto *button = named(new PageButton(style.look, room), name);
    button->setRegionStyle(style);
    button->setGeometry(room->rect().adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset));
    button->setPageSize(
        QSizeF(room->pageGeometry().size().shrunkBy(QMargins(RoomInset, RoomInset, RoomInset, RoomInset))));
    return button;
}

/// A region that prints only what it holds: no guide border while it is unused, and on screen a
/// placeholder that says where it is.
PageButton *makeOptionalRegion(RoomBox *room, SheetRegion region, const char *name, const QString &placeholder)
{
    room->setBorderColor(Qt::transparent);
    PageButton *button = makeRegion(room, region, name);
    button->setPlaceholder(placeholder);
    return button;
}

/// A click anywhere on the page table opens the table panel, as the other regions do.
class ClickToOpen : public QObject
{
public:
    ClickToOpen(QObject *parent, std::function<void()> open) : QObject(parent), m_open(std::move(open)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_open();
                return true;
            }
        }
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_open;
};

} // namespace

QString Document::emptyAmountBox()
{
    return emptyAmountBoxText();
}

void Document::buildPage()
{
    auto *box = named(new QFrame(m_window.get()), "main");
    box->setFrameShape(QFrame::NoFrame);
    // Between the pages of a longer invoice, the desk shows.
    box->setBackgroundRole(QPalette::Dark);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    auto *sheet = named(new PageView(box), "page");
    boxLayout->addWidget(sheet);
    box->setFixedSize(PageView::Width, PageView::Height);
    main = box;
    page = sheet;

    // Row 1: title above left, date above right.
    headRoom = makeRoom(sheet, "headRoom", SheetRegion::Title);
    head = makeRegion(headRoom, SheetRegion::Title, "head");
    dateRoom = makeRoom(sheet, "dateRoom", SheetRegion::Date);
    date = makeRegion(dateRoom, SheetRegion::Date, "date");

    // Row 2: the addressee line, underlined.
    whomRoom = makeRoom(sheet, "whomRoom", SheetRegion::Customer);
    whom = makeRegion(whomRoom, SheetRegion::Customer, "whom");
    whom->setPlaceholder(tr("Customer"));

    // Row 3: the amount box at the left, the issuer block at the right with the stamp over it.
    sumsRoom = makeRoom(sheet, "sumsRoom", SheetRegion::Amount);
    sums = makeRegion(sumsRoom, SheetRegion::Amount, "sums");
    homeRoom = makeRoom(sheet, "homeRoom", SheetRegion::Issuer);
    home = makeRegion(homeRoom, SheetRegion::Issuer, "home");
    home->setPlaceholder(tr("Your details"));
    pushRoom = makeRoom(sheet, "pushRoom", SheetRegion::Stamp);
    push = makeRegion(pushRoom, SheetRegion::Stamp, "push");
    push->setPlaceholder(tr("Stamp"));

    // Below: the item table.
    gridRoom = makeRoom(sheet, "gridRoom", QRect(Left, GridTop, Right - Left, Bottom - GridTop));
    auto *table = named(new QTableView(gridRoom), "grid");
    table->setGeometry(gridRoom->rect().adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset));
    setUpPaperTable(table, m_model->table());
    table->viewport()->installEventFilter(new ClickToOpen(table, [this] { gridShow(); }));
    grid = table;
    m_gridLegend = named(new PageButton(PageButton::Look::Plain, gridRoom), "gridLegend");
    m_gridLegend->setRegionStyle(sheetRegionStyle(SheetRegion::Legend));
    m_gridLegend->setFocusPolicy(Qt::NoFocus);
    m_gridLegend->hide();
    connect(m_gridLegend, &QAbstractButton::clicked, this, [this] { gridShow(); });
    buildFreelanceRegions(sheet);
    connect(&AddressOffsetNotice::instance(), &AddressOffsetNotice::changed, this, &Document::showCustomerAddress);
    fitPageTable();
    connect(m_model->table(), &QAbstractItemModel::rowsInserted, this, &Document::fitPageTable);
    connect(m_model->table(), &QAbstractItemModel::rowsRemoved, this, &Document::fitPageTable);
    connect(m_model->table(), &QAbstractItemModel::modelReset, this, &Document::fitPageTable);
    // A longer description may need a taller row.
    connect(m_model->table(), &QAbstractItemModel::dataChanged, this, &Document::fitPageTable);

    for (PageButton *button : {head.data(), date.data(), whom.data(), home.data(), sums.data(), push.data(),
                               numb.data(), dues.data(), note.data()})
        button->setFocusPolicy(Qt::TabFocus);
    connect(head, &QAbstractButton::clicked, this, [this] { headShow(head); });
    connect(date, &QAbstractButton::clicked, this, [this] { dateShow(date); });
    connect(whom, &QAbstractButton::clicked, this, [this] { whomShow(whom); });
    connect(home, &QAbstractButton::clicked, this, [this] { homeShow(home); });
    connect(sums, &QAbstractButton::clicked, this, [this] { sumsShow(sums); });
    connect(push, &QAbstractButton::clicked, this, [this] { pushShow(push); });
    connect(numb, &QAbstractButton::clicked, this, [this] { numbShow(numb); });
    connect(dues, &QAbstractButton::clicked, this, [this] { duesShow(dues); });
    connect(note, &QAbstractButton::clicked, this, [this] { noteShow(note); });
    // Tab reads the page as an eye does: the number after the date, the due date after the amount,
    // the remarks after the table.
    QWidget::setTabOrder(date, numb);
    QWidget::setTabOrder(sums, dues);
    QWidget::setTabOrder(grid, note);

    m_window->setPageBox(box);
}

QString Document::shownHonorific() const
{
    return m_shownHonorific;
}

void Document::showCustomerAddress()
{
    if (!whom || !head)
        return;
    const bool block = !m_model->customerAddress().isEmpty();
    whom->setRegionStyle(sheetRegionStyle(block ? SheetRegion::Address : SheetRegion::Customer));
    whom->setPlaceholder(tr("Customer"));
    if (block) {
        whom->setPresentation([this](const QString &line) {
            const QString honorific = shownHonorific();
            return addressBlockText(customerName(line, honorific), honorific, m_model->customerAddress());
        });
    } else {
        whom->setPresentation(nullptr);
    }
    placeRoom(whomRoom, block ? addressBlockRoom(savedAddressOffset()) : sheetRoom(SheetRegion::Customer));
    PageRegion title = sheetRegionStyle(SheetRegion::Title);
    if (block)
        title.alignment = Qt::AlignRight | Qt::AlignVCenter;
    head->setRegionStyle(title);
    placeRoom(headRoom, block ? titleRoomBesideAddress() : sheetRoom(SheetRegion::Title));
}

void Document::buildFreelanceRegions(QWidget *sheet)
{
    numbRoom = makeRoom(sheet, "numbRoom", SheetRegion::Number);
    numb = makeOptionalRegion(numbRoom, SheetRegion::Number, "numb", tr("Invoice number"));
    duesRoom = makeRoom(sheet, "duesRoom", SheetRegion::DueDate);
    dues = makeOptionalRegion(duesRoom, SheetRegion::DueDate, "dues", tr("Payment due date"));
    noteRoom = makeRoom(sheet, "noteRoom", SheetRegion::Remarks);
    note = makeOptionalRegion(noteRoom, SheetRegion::Remarks, "note", tr("Remarks"));
}

void Document::placeRoom(RoomBox *room, const QRect &pageGeometry)
{
    room->setPageGeometry(pageGeometry);
    room->setGeometry(scaled(pageGeometry, m_zoom));
    const int inset = qRound(RoomInset * m_zoom);
    for (QWidget *child : room->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        child->setGeometry(room->rect().adjusted(inset, inset, -inset, -inset));
        if (auto *button = qobject_cast<PageButton *>(child)) {
            button->setZoom(m_zoom);
            button->setPageSize(
                QSizeF(pageGeometry.size().shrunkBy(QMargins(RoomInset, RoomInset, RoomInset, RoomInset))));
        }
    }
}

qreal Document::remarksHeight() const
{
    if (!note || remarks().isEmpty())
        return 0;
    // Whole pixels, so that the region placed at them never runs past the page's margin.
    return std::ceil(note->pageHeightFor(Right - Left - 2 * RoomInset, RemarksMaximumHeight - 2 * RoomInset)) +
           2 * RoomInset;
}

void Document::placeRemarks(qreal tableBottom)
{
    if (!noteRoom)
        return;
    const qreal height = remarksHeight();
    // A hair's rounding of the rows' heights must not move the region a whole pixel down.
    const int top = static_cast<int>(std::ceil(tableBottom - 0.01)) + RemarksGap;
    if (height > 0) {
        noteRoom->show();
        placeRoom(noteRoom, QRect(Left, top, Right - Left, static_cast<int>(height)));
        return;
    }
    // Empty, the region only shows on screen where the remarks would go; below a table that fills
    // the page, that is the page's margin.
    const bool room = top + RemarksPlaceholderHeight <= PageView::Height;
    noteRoom->setVisible(room);
    placeRoom(noteRoom, QRect(Left, std::min(top, Bottom), Right - Left, RemarksPlaceholderHeight));
}

void Document::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (!page || !main)
        return;
    const QSize sheet(qRound(PageView::Width * m_zoom), qRound(PageView::Height * m_zoom));
    page->setFixedSize(sheet);
    main->setFixedSize(sheet);
    for (RoomBox *room : rooms())
        placeRoom(room, room->pageGeometry());
    fitPageTable();
    emit zoomChanged(m_zoom);
}

void Document::fitPageTable()
{
    if (!grid)
        return;
    // Laid out in page pixels and only then shown at the zoom, so the screen breaks the lines the
    // paper does.
    const bool legend = m_model->table()->showsReducedRows();
    const TablePlan plan = planPageTable(tablePlanRequestOf(*m_model->table(), legend, remarksHeight()));
    if (plan.continues) {
        fitPageTableOnPages(plan);
        return;
    }
    dropContinuationPages();

    const qreal end =
        sizePaperTable(grid, plan.rowHeights, plan.type.rowHeight, plan.type.pixelSize, columnWidths(), m_zoom);
    const qreal tableBottom = GridTop + 2 * RoomInset + end + (legend ? LegendHeight : 0);
    m_gridLegend->setVisible(legend);
    if (legend) {
        m_gridLegend->setGeometry(qRound(RoomInset * m_zoom), qRound((RoomInset + end) * m_zoom),
                                  qRound((Right - Left - 2 * RoomInset) * m_zoom), qRound(LegendHeight * m_zoom));
        m_gridLegend->setZoom(m_zoom);
        m_gridLegend->setPageSize(QSizeF(Right - Left - 2 * RoomInset, LegendHeight));
        m_gridLegend->raise();
    }
    placeRemarks(tableBottom);
    grid->viewport()->update();
}

} // namespace seikyu
