#include "document/ContinuationPage.h"

#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/SheetPainting.h"
#include "page/SheetRegions.h"
#include "table/PageRowsModel.h"
#include "table/PaperTable.h"
#include "widgets/PageButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>

namespace seikyu {

namespace {

using namespace page;

QString shown(const QPointer<PageButton> &region)
{
    return region ? printableText(region->shownText()).replace(QLatin1Char('\n'), QLatin1Char(' ')) : QString();
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
    m_legend->setRegionStyle(sheetRegionStyle(SheetRegion::Legend));
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
    paintContinuationHeading(painter, heading());
}

ContinuationHeading ContinuationPage::heading() const
{
    return {shown(m_heading.title), shown(m_heading.customer), shown(m_heading.date), shown(m_heading.number)};
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
