// The document's kind: an invoice, or a quotation, delivery slip or receipt beside it. Each kind
// counts its own numbers, and a receipt asks whether it is handed over on paper.
#include "document/ChoicePanel.h"
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "invoice/InvoiceFile.h"
#include "kinds/KindWords.h"
#include "sections/FreelancePreferences.h"
#include "sections/SharedNumbers.h"

namespace seikyu {

const SharedNumbers *Document::officeNumbers() const
{
    // The office's sequence gives invoice numbers, which the law wants unique; the other kinds
    // count on each computer.
    return m_model->kind() == DocumentKind::Invoice ? activeSharedNumbers() : nullptr;
}

NumberProposal Document::proposedNumber(const QDate &date) const
{
    const DocumentKind kind = m_model->kind();
    if (kind == DocumentKind::Invoice)
        return FreelancePreferences::nextNumber(date);
    return FreelancePreferences::nextNumber(date, {documentKindText(kind), kindWords(kind).numberPattern});
}

QString Document::startAsNewOfItsKind()
{
    // A month's statement comes with the due date of its customer's terms.
    if (m_model->kind() == DocumentKind::Invoice && !m_model->dueDate().isValid())
        m_model->setDueDate(proposedDueDate(m_model->date()));
    clearGuideBorders();
    m_amountStale = m_dueStale = false;
    if (const Result<void> numbered = takeInvoiceNumber(); !numbered) {
        setInvoiceNumber(QString());
        m_page->setGuide(SheetRegion::Number, true);
        return tr("This document has no number yet. %1").arg(numbered.message());
    }
    return QString();
}

void Document::paperShow(QObject *)
{
    if (m_model->kind() != DocumentKind::Receipt)
        return;
    paperCtrl->load(m_model->paper());
    show(paperCtrl.get());
}

void Document::paperCopy(QObject *)
{
    if (paperCtrl->first() != m_model->paper()) {
        m_model->setPaper(paperCtrl->first());
        updateChangeCount(ChangeDone);
    }
    hide();
}

void Document::amountsShow(QObject *)
{
    if (m_model->kind() != DocumentKind::Delivery)
        return;
    amountsCtrl->load(!m_model->amountsHidden());
    show(amountsCtrl.get());
}

void Document::amountsCopy(QObject *)
{
    if (amountsCtrl->first() == m_model->amountsHidden()) {
        m_model->setAmountsHidden(!amountsCtrl->first());
        updateChangeCount(ChangeDone);
    }
    hide();
}

} // namespace seikyu
