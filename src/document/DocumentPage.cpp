// The invoice page: where each region sits on the A4 sheet and how its text is set.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/PageView.h"
#include "invoice/ItemTableModel.h"
#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/TablePlan.h"
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
/// The issuer block and the seal pressed on it: the seal sits at the block's right, level with the
/// name line, and every other line of the block keeps clear of it.
constexpr QRect IssuerGeometry(Right - 258, 146, 258, 110);
constexpr int SealSize = 64;
constexpr QRect SealGeometry(Right - SealSize, 168, SealSize, SealSize);
constexpr int SealGap = 4;
constexpr int IssuerNameLine = 2;
/// The optional parts of a freelancer's invoice: the number under the date, at the right; the due
/// date under the invoice amount; the remarks under the table, as tall as their text needs.
constexpr QRect NumberGeometry(Right - 190, Left + 26, 190, 20);
constexpr QRect DueGeometry(Left, 236, 250, 22);
constexpr int RemarksMaximumHeight = 120;

/// What the table's layout needs of the table's rows.
TablePlanRequest tablePlanRequest(const ItemTableModel &table, bool legend, qreal remarksHeight)
{
    TablePlanRequest request;
    const int rows = table.count();
    for (int row = 0; row < rows; ++row) {
        request.descriptions.append(pageCellText(table.index(row, static_cast<int>(Column::Name))));
        request.headers.append(table.row(row)->isHeader());
    }
    request.headerRows = rows > 0 && table.row(0)->isHeader() ? 1 : 0;
    if (const std::optional<RowRange> sums = trailingSums(table.rows()))
        request.sumsFirst = sums->first;
    request.legend = legend;
    request.remarksHeight = remarksHeight;
    return request;
}

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

PageButton *makeButton(RoomBox *room, PageButton::Look look, const char *name)
{
    auto *button = named(new PageButton(look, room), name);
    button->setGeometry(room->rect().adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset));
    button->setPageSize(
        QSizeF(room->pageGeometry().size().shrunkBy(QMargins(RoomInset, RoomInset, RoomInset, RoomInset))));
    return button;
}

/// A region that prints only what it holds: no guide border while it is unused, and on screen a
/// placeholder that says where it is.
PageButton *makeOptionalRegion(RoomBox *room, const char *name, int pixelSize, Qt::Alignment alignment,
                               const QString &placeholder)
{
    room->setBorderColor(Qt::transparent);
    PageButton *button = makeButton(room, PageButton::Look::Plain, name);
    button->setFont(pageFont(pixelSize));
    button->setPagePixelSize(pixelSize);
    button->setAlignment(alignment);
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
    // The heading starts with U+0008, as invoices have always stored it; it is never drawn.
    return QStringLiteral("\u0008御請求金額\n");
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

    bank = named(new ItemTableModel(m_window.get()), "bank");

    // Row 1: title above left, date above right.
    headRoom = makeRoom(sheet, "headRoom", QRect(Left, Left, 300, 46));
    head = makeButton(headRoom, PageButton::Look::Plain, "head");
    head->setFont(pageFont(26));
    head->setPagePixelSize(26);
    dateRoom = makeRoom(sheet, "dateRoom", QRect(Right - 190, Left, 190, 26));
    date = makeButton(dateRoom, PageButton::Look::Plain, "date");
    date->setFont(pageFont(11));
    date->setPagePixelSize(11);
    date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Row 2: the addressee line, underlined.
    whomRoom = makeRoom(sheet, "whomRoom", QRect(Left, 104, 330, 38));
    whom = makeButton(whomRoom, PageButton::Look::Plain, "whom");
    whom->setFont(pageFont(18));
    whom->setPagePixelSize(18);
    // A long name wraps at the size later pages set it in, rather than shrink to the smallest type
    // on one line.
    whom->setWrapPixelSize(page::CustomerPixelSize);
    whom->setUnderlined(true);
    whom->setPlaceholder(tr("Customer"));

    // Row 3: the amount box at the left, the issuer block at the right with the stamp over it.
    sumsRoom = makeRoom(sheet, "sumsRoom", QRect(Left, 160, 250, 74));
    sums = makeButton(sumsRoom, PageButton::Look::Amount, "sums");
    sums->setFont(pageFont(12));
    sums->setPagePixelSize(12);
    homeRoom = makeRoom(sheet, "homeRoom", IssuerGeometry);
    home = makeButton(homeRoom, PageButton::Look::Plain, "home");
    home->setFont(pageFont(10));
    home->setPagePixelSize(10);
    home->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    home->setPlaceholder(tr("Your details"));
    home->setSealClearance(SealSize + SealGap - RoomInset, IssuerNameLine);
    pushRoom = makeRoom(sheet, "pushRoom", SealGeometry);
    push = makeButton(pushRoom, PageButton::Look::Image, "push");
    push->setFont(pageGothicFont(9));
    push->setPagePixelSize(9);
    push->setPlaceholder(tr("Stamp"));

    // Below: the item table.
    gridRoom = makeRoom(sheet, "gridRoom", QRect(Left, GridTop, Right - Left, Bottom - GridTop));
    auto *table = named(new QTableView(gridRoom), "grid");
    table->setGeometry(gridRoom->rect().adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset));
    setUpPaperTable(table, bank);
    table->viewport()->installEventFilter(new ClickToOpen(table, [this] { gridShow(); }));
    grid = table;
    m_gridLegend = named(new PageButton(PageButton::Look::Plain, gridRoom), "gridLegend");
    m_gridLegend->setFont(pageFont(8));
    m_gridLegend->setPagePixelSize(8);
    m_gridLegend->setTitle(QStringLiteral("※は軽減税率対象"));
    m_gridLegend->setFocusPolicy(Qt::NoFocus);
    m_gridLegend->hide();
    connect(m_gridLegend, &QAbstractButton::clicked, this, [this] { gridShow(); });
    buildFreelanceRegions(sheet);
    fitPageTable();
    connect(bank, &QAbstractItemModel::rowsInserted, this, &Document::fitPageTable);
    connect(bank, &QAbstractItemModel::rowsRemoved, this, &Document::fitPageTable);
    connect(bank, &QAbstractItemModel::modelReset, this, &Document::fitPageTable);
    // A longer description may need a taller row.
    connect(bank, &QAbstractItemModel::dataChanged, this, &Document::fitPageTable);

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

void Document::buildFreelanceRegions(QWidget *sheet)
{
    numbRoom = makeRoom(sheet, "numbRoom", NumberGeometry);
    numb = makeOptionalRegion(numbRoom, "numb", 10, Qt::AlignRight | Qt::AlignVCenter, tr("Invoice number"));
    duesRoom = makeRoom(sheet, "duesRoom", DueGeometry);
    dues = makeOptionalRegion(duesRoom, "dues", 11, Qt::AlignLeft | Qt::AlignVCenter, tr("Payment due date"));
    noteRoom = makeRoom(sheet, "noteRoom", QRect(Left, GridTop, Right - Left, RemarksPlaceholderHeight));
    note = makeOptionalRegion(noteRoom, "note", 9, Qt::AlignLeft | Qt::AlignTop, tr("Remarks"));
    note->setHeading(QStringLiteral("備考"));
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
    if (!grid || !bank)
        return;
    // Laid out in page pixels and only then shown at the zoom, so the screen breaks the lines the
    // paper does.
    const bool legend = bank->showsReducedRows();
    const TablePlan plan = planPageTable(tablePlanRequest(*bank, legend, remarksHeight()));
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
