#include "document/ContinuationPage.h"

#include "document/PageGeometry.h"
#include "table/PageRowsModel.h"
#include "table/PaperTable.h"
#include "widgets/PageButton.h"
#include "widgets/PageFonts.h"
#include "widgets/TextFit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>

namespace seikyu {

namespace {

using namespace page;

/// The slim heading, in page pixels: the title at the left, the date and number at the right, the
/// customer under the title on an underlined line.
constexpr QRectF TitleGeometry(Left, Left, 300, 24);
constexpr int TitlePixelSize = 16;
constexpr QRectF DateGeometry(Right - 220, Left, 220, 13);
constexpr QRectF NumberGeometry(Right - 220, Left + 14, 220, 13);
constexpr int DatePixelSize = 10;
constexpr QRectF CustomerGeometry(Left, Left + 30, 330, 20);
constexpr int LegendPixelSize = 8;

QString shown(const QPointer<PageButton> &region)
{
    return region ? printableText(region->shownText()).replace(QLatin1Char('\n'), QLatin1Char(' ')) : QString();
}

/// One line of heading text, set smaller when it is long and shortened only below the legible size.
void drawLine(QPainter &painter, const QRectF &area, const QString &text, int pixelSize, Qt::Alignment alignment)
{
    if (text.isEmpty())
        return;
    TextFitRequest request;
    request.box = area.size();
    request.pixelSize = pixelSize;
    request.wrap = false;
    request.maximumLines = 1;
    request.overflow = TextFitRequest::Overflow::Elide;
    const QFont face = pageFont(pixelSize);
    drawFittedText(painter, area, face, fitText(text, face, request), alignment | Qt::AlignVCenter);
}

QRect scaled(const QRectF &r, double zoom)
{
    return QRect(qRound(r.x() * zoom), qRound(r.y() * zoom), qRound(r.width() * zoom), qRound(r.height() * zoom));
}

} // namespace

ContinuationPage::ContinuationPage(QAbstractItemModel *table, const Heading &heading, QWidget *parent)
    : PageView(parent), m_heading(heading), m_rows(new PageRowsModel(this)), m_table(new QTableView(this)),
      m_legend(new PageButton(PageButton::Look::Plain, this))
{
    setObjectName(QStringLiteral("continuationPage"));
    m_rows->setSourceModel(table);
    m_table->setObjectName(QStringLiteral("continuedGrid"));
    setUpPaperTable(m_table, m_rows);
    m_table->setFocusPolicy(Qt::TabFocus);
    m_table->setTabKeyNavigation(false);
    m_table->setAccessibleName(tr("Items"));
    m_table->setAccessibleDescription(tr("The item table, continued. Press Space or Return to change it."));
    m_table->installEventFilter(this);
    m_table->viewport()->installEventFilter(this);

    m_legend->setObjectName(QStringLiteral("continuedLegend"));
    m_legend->setFont(pageFont(LegendPixelSize));
    m_legend->setPagePixelSize(LegendPixelSize);
    m_legend->setTitle(QStringLiteral("※は軽減税率対象"));
    m_legend->setFocusPolicy(Qt::NoFocus);
    m_legend->hide();
    connect(m_legend, &QAbstractButton::clicked, this, &ContinuationPage::tableActivated);
}

void ContinuationPage::showRows(const Rows &rows, double zoom)
{
    m_zoom = zoom;
    setFixedSize(qRound(Width * zoom), qRound(Height * zoom));
    m_rows->setRows(rows.headerRows, rows.first, rows.end);
    const QRectF table(Left + RoomInset, ContinuedGridTop + RoomInset, Right - Left - 2 * RoomInset,
                       Bottom - ContinuedGridTop - 2 * RoomInset);
    m_table->setGeometry(scaled(table, zoom));
    const qreal end = sizePaperTable(m_table, rows.heights, rows.rowHeight, rows.pixelSize, rows.columnWidths, zoom);
    m_legend->setVisible(rows.legend);
    if (rows.legend) {
        m_legend->setGeometry(scaled(QRectF(table.left(), table.top() + end, table.width(), LegendHeight), zoom));
        m_legend->setZoom(zoom);
        m_legend->raise();
    }
    m_contentBottom = ContinuedGridTop + 2 * RoomInset + end + (rows.legend ? LegendHeight : 0);
    m_table->viewport()->update();
    update();
}

void ContinuationPage::paintEvent(QPaintEvent *event)
{
    PageView::paintEvent(event);
    QPainter painter(this);
    painter.scale(m_zoom, m_zoom);
    paintHeading(painter);
}

void ContinuationPage::paintHeading(QPainter &painter) const
{
    painter.setPen(Qt::black);
    drawLine(painter, TitleGeometry, shown(m_heading.title), TitlePixelSize, Qt::AlignLeft);
    drawLine(painter, DateGeometry, shown(m_heading.date), DatePixelSize, Qt::AlignRight);
    drawLine(painter, NumberGeometry, shown(m_heading.number), DatePixelSize, Qt::AlignRight);
    drawLine(painter, CustomerGeometry, shown(m_heading.customer), CustomerPixelSize, Qt::AlignLeft);
    painter.setPen(QPen(Qt::black, 0.75));
    painter.drawLine(CustomerGeometry.bottomLeft() + QPointF(0, 1), CustomerGeometry.bottomRight() + QPointF(0, 1));
}

bool ContinuationPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                emit tableActivated();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            return true;
    } else if (watched == m_table && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit tableActivated();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            return true;
        }
    }
    return PageView::eventFilter(watched, event);
}

} // namespace seikyu
