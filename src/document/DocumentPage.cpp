// The invoice page: where each region sits on the A4 sheet and how its text is set.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/PageView.h"
#include "table/ItemTableModel.h"
#include "table/PageTableDelegate.h"
#include "widgets/PageButton.h"
#include "widgets/PageFonts.h"
#include "widgets/RoomBox.h"

#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace seikyu {

namespace {

constexpr int Left = PageView::Margin;
constexpr int Right = PageView::Width - PageView::Margin;
constexpr int Bottom = PageView::Height - PageView::Margin;
constexpr int GridTop = 262;
constexpr int RoomInset = 2;

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

void Document::buildPage()
{
    auto *box = named(new QFrame(m_window.get()), "main");
    box->setFrameShape(QFrame::NoFrame);
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
    head->setTitle(QStringLiteral("請求書"));
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
    whom->setUnderlined(true);
    whom->setPlaceholder(tr("Customer"));

    // Row 3: the amount box at the left, the issuer block at the right with the stamp over it.
    sumsRoom = makeRoom(sheet, "sumsRoom", QRect(Left, 160, 260, 74));
    sums = makeButton(sumsRoom, PageButton::Look::Amount, "sums");
    sums->setFont(pageFont(12));
    sums->setPagePixelSize(12);
    sums->setTitle(QStringLiteral("\u0008御請求金額\n"));
    homeRoom = makeRoom(sheet, "homeRoom", QRect(Right - 236, 150, 236, 90));
    home = makeButton(homeRoom, PageButton::Look::Plain, "home");
    home->setFont(pageFont(10));
    home->setPagePixelSize(10);
    home->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    home->setPlaceholder(tr("Your details"));
    pushRoom = makeRoom(sheet, "pushRoom", QRect(Right - 66, 170, 66, 66));
    push = makeButton(pushRoom, PageButton::Look::Image, "push");
    push->setFont(pageGothicFont(9));
    push->setPagePixelSize(9);
    push->setPlaceholder(tr("Stamp"));

    // Below: the item table.
    gridRoom = makeRoom(sheet, "gridRoom", QRect(Left, GridTop, Right - Left, Bottom - GridTop));
    auto *table = named(new QTableView(gridRoom), "grid");
    table->setGeometry(gridRoom->rect().adjusted(RoomInset, RoomInset, -RoomInset, -RoomInset));
    table->setModel(bank);
    table->setItemDelegate(new PageTableDelegate(table));
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
    table->setStyleSheet(QStringLiteral("QTableView { background: white; border: none; }"));
    table->viewport()->installEventFilter(new ClickToOpen(table, [this] { gridShow(); }));
    grid = table;
    fitPageTable();
    connect(bank, &QAbstractItemModel::rowsInserted, this, &Document::fitPageTable);
    connect(bank, &QAbstractItemModel::rowsRemoved, this, &Document::fitPageTable);
    connect(bank, &QAbstractItemModel::modelReset, this, &Document::fitPageTable);

    for (PageButton *button : {head.data(), date.data(), whom.data(), home.data(), sums.data(), push.data()})
        button->setFocusPolicy(Qt::TabFocus);
    connect(head, &QAbstractButton::clicked, this, [this] { headShow(head); });
    connect(date, &QAbstractButton::clicked, this, [this] { dateShow(date); });
    connect(whom, &QAbstractButton::clicked, this, [this] { whomShow(whom); });
    connect(home, &QAbstractButton::clicked, this, [this] { homeShow(home); });
    connect(sums, &QAbstractButton::clicked, this, [this] { sumsShow(sums); });
    connect(push, &QAbstractButton::clicked, this, [this] { pushShow(push); });

    m_window->setPageBox(box);
}

void Document::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (!page || !main)
        return;
    auto scaled = [this](const QRect &r) {
        return QRect(qRound(r.x() * m_zoom), qRound(r.y() * m_zoom), qRound(r.width() * m_zoom),
                     qRound(r.height() * m_zoom));
    };
    const QSize sheet(qRound(PageView::Width * m_zoom), qRound(PageView::Height * m_zoom));
    page->setFixedSize(sheet);
    main->setFixedSize(sheet);
    const int inset = qRound(RoomInset * m_zoom);
    for (RoomBox *room : rooms()) {
        room->setGeometry(scaled(room->pageGeometry()));
        for (QWidget *child : room->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            child->setGeometry(room->rect().adjusted(inset, inset, -inset, -inset));
            if (auto *button = qobject_cast<PageButton *>(child))
                button->setZoom(m_zoom);
        }
    }
    fitPageTable();
    emit zoomChanged(m_zoom);
}

void Document::fitPageTable()
{
    if (!grid || !bank)
        return;
    // Up to 35 rows (30 items, the header and the four sums rows) keep the full size; a longer
    // table shrinks its rows and type so that it stays on the one page.
    const int available = grid->height();
    const int rows = std::max(1, bank->count());
    const double rowHeight = std::min(15.0 * m_zoom, static_cast<double>(available) / rows);
    auto *delegate = static_cast<PageTableDelegate *>(grid->itemDelegate());
    delegate->setPixelSize(std::max(3, static_cast<int>(rowHeight * 0.64)));
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(std::max(1, static_cast<int>(rowHeight)));
    const int width = grid->width();
    const int widths[] = {qRound(58 * m_zoom), 0, qRound(84 * m_zoom), qRound(58 * m_zoom), qRound(96 * m_zoom)};
    int fixed = 0;
    for (int w : widths)
        fixed += w;
    for (int column = 0; column < ColumnCount; ++column)
        grid->setColumnWidth(column, widths[column] ? widths[column] : width - fixed);
    grid->viewport()->update();
}

} // namespace seikyu
