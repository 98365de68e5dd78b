// The invoice page on screen: where each region sits on the A4 sheet, how its text is set, and the
// further pages of a long table.
#include "document/InvoicePageView.h"

#include "document/AddressOffset.h"
#include "document/ContinuationPage.h"
#include "document/PageView.h"
#include "invoice/InvoiceModel.h"
#include "invoice/ItemTableModel.h"
#include "kinds/KindWords.h"
#include "page/InvoiceSheets.h"
#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/TablePlan.h"
#include "sections/EntryFields.h"
#include "sections/FreelancePreferences.h"
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

InvoicePageView::InvoicePageView(InvoiceModel *model, QWidget *window) : m_model(model)
{
    build(window);
}

InvoicePageView::~InvoicePageView() = default;

void InvoicePageView::build(QWidget *window)
{
    auto *box = named(new QFrame(window), "main");
    box->setFrameShape(QFrame::NoFrame);
    // Between the pages of a longer invoice, the desk shows.
    box->setBackgroundRole(QPalette::Dark);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    auto *sheet = named(new PageView(box), "page");
    boxLayout->addWidget(sheet);
    box->setFixedSize(PageView::Width, PageView::Height);
    m_box = box;
    m_page = sheet;

    const auto place = [this, sheet](SheetRegion at, const char *roomName, const char *name) {
        m_rooms[at] = makeRoom(sheet, roomName, at);
        m_regions[at] = makeRegion(m_rooms[at], at, name);
    };
    // Row 1: title above left, date above right.
    place(SheetRegion::Title, "headRoom", "head");
    place(SheetRegion::Date, "dateRoom", "date");

    // Row 2: the addressee line, underlined.
    place(SheetRegion::Customer, "whomRoom", "whom");
    m_regions[SheetRegion::Customer]->setPlaceholder(tr("Customer"));

    // Row 3: the amount box at the left, the issuer block at the right with the stamp over it.
    place(SheetRegion::Amount, "sumsRoom", "sums");
    place(SheetRegion::Issuer, "homeRoom", "home");
    m_regions[SheetRegion::Issuer]->setPlaceholder(tr("Your details"));
    place(SheetRegion::Stamp, "pushRoom", "push");
    m_regions[SheetRegion::Stamp]->setPlaceholder(tr("Stamp"));

    // Below: the item table.
    m_tableRoom = makeRoom(sheet, "gridRoom", QRect(Left, GridTop, Right - Left, Bottom - GridTop));
    auto *table = named(new QTableView(m_tableRoom), "grid");
    table->setGeometry(m_tableRoom->rect().adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset));
    setUpPaperTable(table, m_model->table());
    table->viewport()->installEventFilter(new ClickToOpen(table, [this] { emit tableActivated(); }));
    m_table = table;
    m_legend = named(new PageButton(PageButton::Look::Plain, m_tableRoom), "gridLegend");
    m_legend->setRegionStyle(sheetRegionStyle(SheetRegion::Legend));
    m_legend->setFocusPolicy(Qt::NoFocus);
    m_legend->hide();
    connect(m_legend, &QAbstractButton::clicked, this, &InvoicePageView::tableActivated);

    // The invoice number, due date and remarks, each clear of guide border until used.
    const auto placeOptional = [this, sheet](SheetRegion at, const char *roomName, const char *name,
                                             const QString &placeholder) {
        m_rooms[at] = makeRoom(sheet, roomName, at);
        m_regions[at] = makeOptionalRegion(m_rooms[at], at, name, placeholder);
    };
    placeOptional(SheetRegion::Number, "numbRoom", "numb", tr("Invoice number"));
    placeOptional(SheetRegion::DueDate, "duesRoom", "dues", tr("Payment due date"));
    placeOptional(SheetRegion::Remarks, "noteRoom", "note", tr("Remarks"));
    // A receipt's revenue stamp; the other kinds have none.
    placeOptional(SheetRegion::StampDuty, "dutyRoom", "duty", tr("Paper or electronic?"));
    m_rooms[SheetRegion::StampDuty]->hide();

    connect(&AddressOffsetNotice::instance(), &AddressOffsetNotice::changed, this,
            &InvoicePageView::showCustomerAddress);
    fitTable();
    ItemTableModel *rows = m_model->table();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &InvoicePageView::fitTable);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &InvoicePageView::fitTable);
    connect(rows, &QAbstractItemModel::modelReset, this, &InvoicePageView::fitTable);
    // A longer description may need a taller row.
    connect(rows, &QAbstractItemModel::dataChanged, this, &InvoicePageView::fitTable);
    // A receipt's revenue stamp follows its sums.
    for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(rows, changed, this, &InvoicePageView::showStampDuty);
    connect(rows, &QAbstractItemModel::modelReset, this, &InvoicePageView::showStampDuty);
    connect(rows, &QAbstractItemModel::dataChanged, this, &InvoicePageView::showStampDuty);

    for (const auto &[at, button] : m_regions) {
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QAbstractButton::clicked, this,
                [this, at = at, button = button.data()] { emit regionActivated(at, button); });
    }
    // Tab reads the page as an eye does: the number after the date, the due date after the amount,
    // the remarks after the table.
    QWidget::setTabOrder(region(SheetRegion::Date), region(SheetRegion::Number));
    QWidget::setTabOrder(region(SheetRegion::Amount), region(SheetRegion::DueDate));
    QWidget::setTabOrder(m_table, region(SheetRegion::Remarks));
}

void InvoicePageView::bindModel()
{
    const auto text = [this](SheetRegion at, void (InvoiceModel::*set)(const QString &)) {
        (m_model->*set)(region(at)->title());
        connect(region(at), &PageButton::titleChanged, m_model, set);
    };
    text(SheetRegion::Title, &InvoiceModel::setTitle);
    text(SheetRegion::Issuer, &InvoiceModel::setIssuer);
    text(SheetRegion::Amount, &InvoiceModel::setAmountBox);
    PageButton *stamp = region(SheetRegion::Stamp);
    connect(stamp, &PageButton::imageSet, m_model, &InvoiceModel::setStamp);
    m_model->setStamp(stamp->image());
}

void InvoicePageView::showModel()
{
    const auto show = [this](SheetRegion at, const QString &text) {
        PageButton *shown = region(at);
        if (shown && shown->title() != text)
            shown->setTitle(text);
    };
    showKind();
    show(SheetRegion::Title, m_model->title());
    show(SheetRegion::Issuer, m_model->issuer());
    show(SheetRegion::Amount, m_model->amountBox());
    PageButton *stamp = region(SheetRegion::Stamp);
    if (stamp && stamp->image() != m_model->stamp())
        stamp->setImage(m_model->stamp());
    show(SheetRegion::Number, numberOfKind(m_model->kind(), m_model->number()));
    PageButton *note = region(SheetRegion::Remarks);
    if (note && note->title() != m_model->remarks()) {
        note->setTitle(m_model->remarks());
        fitTable(); // the remarks take room under the table
    }
    showStampDuty();
}

void InvoicePageView::showKind()
{
    const DocumentKind kind = m_model->kind();
    const bool amountsOut = kind == DocumentKind::Delivery && m_model->amountsHidden();
    if (kind == m_shownKind && amountsOut == m_shownAmountsOut)
        return;
    m_shownKind = kind;
    m_shownAmountsOut = amountsOut;
    // The file keeps the invoice's heading in the amount box; the page shows the kind's own, and
    // nothing where the slip's paper leaves its amount out.
    if (PageButton *amount = region(SheetRegion::Amount)) {
        if (kind == DocumentKind::Invoice)
            amount->setPresentation(nullptr);
        else
            amount->setPresentation(
                [kind, amountsOut](const QString &box) { return amountsOut ? QString() : amountBoxOfKind(box, kind); });
    }
    if (PageButton *note = region(SheetRegion::Remarks))
        note->setHeading(kindWords(kind).remarksHeading);
    if (RoomBox *duty = room(SheetRegion::StampDuty))
        duty->setVisible(kind == DocumentKind::Receipt);
}

void InvoicePageView::showStampDuty()
{
    PageButton *duty = region(SheetRegion::StampDuty);
    if (!duty || m_model->kind() != DocumentKind::Receipt)
        return;
    const StampDutyNote note = stampDutyNoteOf(m_model->invoice(), FreelancePreferences::receiptsInBusiness());
    duty->setHeading(note.box ? QStringLiteral("収入印紙") : QString());
    duty->setAlignment(note.box ? Qt::AlignRight | Qt::AlignBottom : Qt::AlignLeft | Qt::AlignTop);
    if (duty->title() != note.text)
        duty->setTitle(note.text);
}

QFrame *InvoicePageView::box() const
{
    return m_box;
}

QTableView *InvoicePageView::table() const
{
    return m_table;
}

PageButton *InvoicePageView::region(SheetRegion at) const
{
    const auto found = m_regions.find(at);
    return found == m_regions.end() ? nullptr : found->second.data();
}

RoomBox *InvoicePageView::room(SheetRegion at) const
{
    const auto found = m_rooms.find(at);
    return found == m_rooms.end() ? nullptr : found->second.data();
}

QList<RoomBox *> InvoicePageView::rooms() const
{
    QList<RoomBox *> all;
    for (SheetRegion at : {SheetRegion::Title, SheetRegion::Date, SheetRegion::Customer, SheetRegion::Issuer,
                           SheetRegion::Stamp, SheetRegion::Amount}) {
        if (RoomBox *box = room(at))
            all.append(box);
    }
    if (m_tableRoom)
        all.append(m_tableRoom);
    for (SheetRegion at : {SheetRegion::Number, SheetRegion::DueDate, SheetRegion::Remarks, SheetRegion::StampDuty}) {
        if (RoomBox *box = room(at))
            all.append(box);
    }
    return all;
}

void InvoicePageView::setGuide(SheetRegion at, bool shown)
{
    if (RoomBox *box = room(at))
        box->setBorderColor(shown ? RoomBox::guideColor() : QColor(Qt::transparent));
}

void InvoicePageView::settleTable()
{
    if (m_tableRoom)
        m_tableRoom->setBorderColor(Qt::transparent);
}

void InvoicePageView::clearGuides()
{
    for (RoomBox *box : rooms())
        box->setBorderColor(Qt::transparent);
}

void InvoicePageView::showCustomerAddress()
{
    PageButton *whom = region(SheetRegion::Customer);
    PageButton *head = region(SheetRegion::Title);
    if (!whom || !head)
        return;
    const bool block = !m_model->customerAddress().isEmpty();
    whom->setRegionStyle(sheetRegionStyle(block ? SheetRegion::Address : SheetRegion::Customer));
    whom->setPlaceholder(tr("Customer"));
    if (block) {
        whom->setPresentation([this](const QString &line) {
            const QString honorific = m_model->honorificShown();
            return addressBlockText(customerName(line, honorific), honorific, m_model->customerAddress());
        });
    } else {
        whom->setPresentation(nullptr);
    }
    placeRoom(room(SheetRegion::Customer),
              block ? addressBlockRoom(savedAddressOffset()) : sheetRoom(SheetRegion::Customer));
    PageRegion title = sheetRegionStyle(SheetRegion::Title);
    if (block)
        title.alignment = Qt::AlignRight | Qt::AlignVCenter;
    head->setRegionStyle(title);
    placeRoom(room(SheetRegion::Title), block ? titleRoomBesideAddress() : sheetRoom(SheetRegion::Title));
}

void InvoicePageView::placeRoom(RoomBox *box, const QRect &pageGeometry)
{
    box->setPageGeometry(pageGeometry);
    box->setGeometry(scaled(pageGeometry, m_zoom));
    const int inset = qRound(RoomInset * m_zoom);
    for (QWidget *child : box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        child->setGeometry(box->rect().adjusted(inset, inset, -inset, -inset));
        if (auto *button = qobject_cast<PageButton *>(child)) {
            button->setZoom(m_zoom);
            button->setPageSize(
                QSizeF(pageGeometry.size().shrunkBy(QMargins(RoomInset, RoomInset, RoomInset, RoomInset))));
        }
    }
}

qreal InvoicePageView::remarksHeight() const
{
    PageButton *note = region(SheetRegion::Remarks);
    if (!note || m_model->remarks().isEmpty())
        return 0;
    // Whole pixels, so that the region placed at them never runs past the page's margin.
    return std::ceil(note->pageHeightFor(Right - Left - 2 * RoomInset, RemarksMaximumHeight - 2 * RoomInset)) +
           2 * RoomInset;
}

void InvoicePageView::placeRemarks(qreal tableBottom)
{
    RoomBox *noteRoom = room(SheetRegion::Remarks);
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
    const bool fits = top + RemarksPlaceholderHeight <= PageView::Height;
    noteRoom->setVisible(fits);
    placeRoom(noteRoom, QRect(Left, std::min(top, Bottom), Right - Left, RemarksPlaceholderHeight));
}

void InvoicePageView::setZoom(double zoom)
{
    m_zoom = zoom;
    if (!m_page || !m_box)
        return;
    const QSize sheet(qRound(PageView::Width * m_zoom), qRound(PageView::Height * m_zoom));
    m_page->setFixedSize(sheet);
    m_box->setFixedSize(sheet);
    for (RoomBox *box : rooms())
        placeRoom(box, box->pageGeometry());
    fitTable();
}

void InvoicePageView::placeLegend(qreal tableEnd)
{
    m_legend->setGeometry(qRound(RoomInset * m_zoom), qRound((RoomInset + tableEnd) * m_zoom),
                          qRound((Right - Left - 2 * RoomInset) * m_zoom), qRound(LegendHeight * m_zoom));
    m_legend->setZoom(m_zoom);
}

void InvoicePageView::fitTable()
{
    if (!m_table)
        return;
    // Laid out in page pixels and only then shown at the zoom, so the screen breaks the lines the
    // paper does.
    const bool legend = m_model->table()->showsReducedRows();
    const TablePlan plan = planPageTable(tablePlanRequestOf(*m_model->table(), legend, remarksHeight()));
    if (plan.continues) {
        fitTableOnPages(plan);
        return;
    }
    dropContinuationPages();

    const qreal end =
        sizePaperTable(m_table, plan.rowHeights, plan.type.rowHeight, plan.type.pixelSize, columnWidths(), m_zoom);
    const qreal tableBottom = GridTop + 2 * RoomInset + end + (legend ? LegendHeight : 0);
    m_legend->setVisible(legend);
    if (legend) {
        placeLegend(end);
        m_legend->setPageSize(QSizeF(Right - Left - 2 * RoomInset, LegendHeight));
        m_legend->raise();
    }
    placeRemarks(tableBottom);
    m_table->viewport()->update();
}

QList<PageView *> InvoicePageView::pages() const
{
    QList<PageView *> all;
    if (m_page)
        all.append(m_page);
    for (const QPointer<ContinuationPage> &further : m_continuationPages) {
        if (further)
            all.append(further);
    }
    return all;
}

void InvoicePageView::hideRowsFrom(int row)
{
    const int rows = m_model->table()->count();
    if (!m_rowsHidden && row >= rows)
        return;
    for (int index = 0; index < rows; ++index) {
        const bool hidden = index >= row;
        if (m_table->isRowHidden(index) != hidden)
            m_table->setRowHidden(index, hidden);
    }
    m_rowsHidden = row < rows;
}

void InvoicePageView::placeRemarksOn(PageView *sheet, qreal contentBottom)
{
    RoomBox *noteRoom = room(SheetRegion::Remarks);
    if (!noteRoom)
        return;
    if (noteRoom->parentWidget() != sheet)
        noteRoom->setParent(sheet);
    placeRemarks(contentBottom);
    noteRoom->raise();
}

void InvoicePageView::dropContinuationPages()
{
    if (m_continuationPages.isEmpty() && !m_rowsHidden)
        return;
    RoomBox *noteRoom = room(SheetRegion::Remarks);
    if (noteRoom && noteRoom->parentWidget() != m_page)
        noteRoom->setParent(m_page);
    for (const QPointer<ContinuationPage> &further : std::as_const(m_continuationPages))
        delete further.data();
    m_continuationPages.clear();
    hideRowsFrom(m_model->table()->count());
    m_page->setFoot(QString(), m_zoom);
    m_box->setFixedSize(m_page->size());
}

void InvoicePageView::fitTableOnPages(const TablePlan &plan)
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
    const qreal end =
        sizePaperTable(m_table, firstRows, plan.type.rowHeight, plan.type.pixelSize, columnWidths(), m_zoom);
    m_legend->setVisible(first.legend);
    if (first.legend) {
        placeLegend(end);
        m_legend->raise();
    }
    m_table->viewport()->update();

    // The further pages, made as they are needed and kept while the table is long.
    auto *pile = m_box->layout();
    while (m_continuationPages.size() < count - 1) {
        auto *further = new ContinuationPage(m_model->table(),
                                             {region(SheetRegion::Title), region(SheetRegion::Customer),
                                              region(SheetRegion::Date), region(SheetRegion::Number)},
                                             m_box);
        connect(further, &ContinuationPage::tableActivated, this, &InvoicePageView::tableActivated);
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
        shown.heights.reserve(size_t(shown.headerRows + slice.endRow - slice.firstRow));
        for (int row = 0; row < shown.headerRows; ++row)
            shown.heights.push_back(heights[size_t(row)]);
        for (int row = slice.firstRow; row < slice.endRow; ++row)
            shown.heights.push_back(heights[size_t(row)]);
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
        placeRemarksOn(m_page, GridTop + 2 * RoomInset + end + (first.legend ? LegendHeight : 0));
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
    m_box->setFixedSize(m_page->width(), int(all.size()) * m_page->height() + (int(all.size()) - 1) * gap);
}

} // namespace seikyu
