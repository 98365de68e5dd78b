// The document's side of the invoice page: what a click on a region opens, the zoom.
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "document/InvoiceWindow.h"
#include "document/PageView.h"
#include "invoice/OpenedInvoice.h"
#include "widgets/PageButton.h"

#include <QFrame>
#include <QTableView>

namespace seikyu {

QString Document::emptyAmountBox()
{
    return emptyAmountBoxText();
}

void Document::buildPage()
{
    m_page = std::make_unique<InvoicePageView>(m_model.get(), m_window.get());
    connect(m_page.get(), &InvoicePageView::regionActivated, this, &Document::regionActivated);
    connect(m_page.get(), &InvoicePageView::tableActivated, this, [this] { gridShow(); });
    m_window->setPageBox(m_page->box());
}

void Document::regionActivated(SheetRegion at, PageButton *button)
{
    switch (at) {
    case SheetRegion::Title:
        headShow(button);
        break;
    case SheetRegion::Date:
        dateShow(button);
        break;
    case SheetRegion::Customer:
        whomShow(button);
        break;
    case SheetRegion::Issuer:
        homeShow(button);
        break;
    case SheetRegion::Amount:
        sumsShow(button);
        break;
    case SheetRegion::Stamp:
        pushShow(button);
        break;
    case SheetRegion::Number:
        numbShow(button);
        break;
    case SheetRegion::DueDate:
        duesShow(button);
        break;
    case SheetRegion::Remarks:
        noteShow(button);
        break;
    case SheetRegion::StampDuty:
        paperShow(button);
        break;
    case SheetRegion::Legend:
    case SheetRegion::Address:
        break;
    }
}

PageButton *Document::region(SheetRegion at) const
{
    return m_page ? m_page->region(at) : nullptr;
}

QTableView *Document::grid() const
{
    return m_page ? m_page->table() : nullptr;
}

bool Document::hasPage() const
{
    return m_page && !m_page->pages().isEmpty();
}

QList<PageView *> Document::pages() const
{
    return m_page ? m_page->pages() : QList<PageView *>();
}

QString Document::shownHonorific() const
{
    return m_shownHonorific;
}

void Document::showCustomerAddress()
{
    if (m_page)
        m_page->showCustomerAddress();
}

void Document::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (!m_page || !m_page->box())
        return;
    m_page->setZoom(m_zoom);
    emit zoomChanged(m_zoom);
}

} // namespace seikyu
