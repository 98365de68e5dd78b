// The invoice number, the payment due date and the remarks: optional regions of the page that
// print nothing until they hold something.
#include "document/DatePanel.h"
#include "document/Document.h"
#include "document/DueDatePanel.h"
#include "document/InvoicePageView.h"
#include "document/InvoiceWindow.h"
#include "document/NumberPanel.h"
#include "document/RemarksPanel.h"
#include "invoice/ItemTableModel.h"
#include "kinds/KindWords.h"
#include "sections/DueDate.h"
#include "sections/FreelancePreferences.h"
#include "sections/RowDates.h"
#include "sections/SharedNumbers.h"
#include "sections/UnkeptTexts.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>

namespace seikyu {

namespace {

/// Remarks without the blank lines and spaces a text field leaves at their end; only white space
/// is no remarks at all.
QString tidiedRemarks(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text.trimmed().isEmpty() ? QString() : text;
}

const char *const TypedInstead = QT_TRANSLATE_NOOP("seikyu::Document", "another number was typed instead");

/// Why a number taken for an invoice was not used, as the ledger records it.
QString releasedBecause(const char *why)
{
    return QCoreApplication::translate("seikyu::Document", why);
}

} // namespace

void Document::setInvoiceNumber(const QString &number)
{
    m_model->setNumber(number);
}

void Document::numbShow(QObject *)
{
    const bool shared = officeNumbers() != nullptr;
    m_panelTaken.reset();
    // An invoice without a number is offered the next one of the user's sequence; on a shared
    // ledger offering one would take it from the office's sequence, and Next Number takes one.
    numbCtrl->load(shared || !m_model->number().isEmpty() ? m_model->number() : proposedNumber(m_model->date()).text,
                   shared);
    if (shared)
        numbCtrl->say(tr("The ledger is shared: Next Number takes the next number from the office's server."), false);
    show(numbCtrl.get());
}

void Document::numbNext(QObject *)
{
    if (const SharedNumbers *office = officeNumbers()) {
        // The field holds the number taken a moment ago: it is the next one still.
        if (m_panelTaken && numbCtrl->number() == m_panelTaken->text)
            return;
        if (const Result<NumberProposal> taken = office->take(m_model->date())) {
            if (m_panelTaken)
                seikyu::releaseTakenNumber(*m_panelTaken, releasedBecause(TypedInstead));
            m_panelTaken = *taken;
            numbCtrl->setNumber(taken->text);
            FreelancePreferences::useNumber(*taken);
            numbCtrl->quiet();
        } else {
            numbCtrl->say(taken.message());
        }
        return;
    }
    numbCtrl->setNumber(proposedNumber(m_model->date()).text);
}

void Document::numbCancelled()
{
    if (m_panelTaken)
        seikyu::releaseTakenNumber(
            *m_panelTaken, releasedBecause(QT_TRANSLATE_NOOP("seikyu::Document", "Cancel in the number panel")));
    m_panelTaken.reset();
}

void Document::numbCopy(QObject *)
{
    const QString number = numbCtrl->number();
    if (refusesUnkeptText(m_window.get(), {number}))
        return;
    if (const SharedNumbers *office = officeNumbers()) {
        // A number typed by hand must not be another invoice's.
        const bool takenHere = m_panelTaken && number == m_panelTaken->text;
        if (!number.isEmpty() && !takenHere && number != m_model->number()) {
            const QString refusal = office->refusal(number, m_model->customer().trimmed());
            if (!refusal.isEmpty()) {
                numbCtrl->say(refusal);
                return;
            }
        }
        if (m_panelTaken && !takenHere)
            seikyu::releaseTakenNumber(*m_panelTaken, releasedBecause(TypedInstead));
        if (takenHere) {
            if (m_pageTaken)
                seikyu::releaseTakenNumber(*m_pageTaken, releasedBecause(TypedInstead));
            m_pageTaken = m_panelTaken;
        }
        m_panelTaken.reset();
        setInvoiceNumber(number);
        m_page->setGuide(SheetRegion::Number, false);
        updateChangeCount(ChangeDone);
        hide();
        return;
    }
    // Asked afresh, so that a number another window has taken meanwhile is not counted twice.
    const NumberProposal proposal = proposedNumber(m_model->date());
    if (!number.isEmpty() && number == proposal.text)
        FreelancePreferences::useNumber(proposal);
    setInvoiceNumber(number);
    m_page->setGuide(SheetRegion::Number, false);
    updateChangeCount(ChangeDone);
    hide();
}

Result<void> Document::takeInvoiceNumberFor(const QDate &invoiceDate)
{
    if (const SharedNumbers *office = officeNumbers()) {
        // Never this computer's own count: two computers would give the same number.
        const Result<NumberProposal> taken = office->take(invoiceDate);
        if (!taken)
            return taken.fault();
        m_pageTaken = *taken;
        setInvoiceNumber(taken->text);
        return {};
    }
    const NumberProposal proposal = proposedNumber(invoiceDate);
    FreelancePreferences::useNumber(proposal);
    m_pageTaken = proposal;
    setInvoiceNumber(proposal.text);
    return {};
}

void Document::releaseTakenNumber()
{
    if (m_pageTaken && m_pageTaken->text == m_model->number())
        seikyu::releaseTakenNumber(
            *m_pageTaken,
            releasedBecause(QT_TRANSLATE_NOOP("seikyu::Document", "its invoice was closed without being issued")));
    m_pageTaken.reset();
}

void Document::setDueDate(const QDate &due)
{
    m_model->setDueDate(due);
}

void Document::duesLoad()
{
    if (PageButton *dues = region(SheetRegion::DueDate))
        dues->setTitle(underAmountText(m_model->kind(), m_model->dueDate(), m_model->japaneseEra()));
    followDueDate();
}

void Document::followDueDate()
{
    if (!m_page)
        return;
    // A due date before the invoice date is a mistake (the invoice date moved on, say): the region
    // asks to be looked at again until it is put right.
    const bool stale = m_model->dueDate().isValid() && m_model->dueDate() < m_model->date();
    if (stale || m_dueStale)
        m_page->setGuide(SheetRegion::DueDate, stale);
    m_dueStale = stale;
}

void Document::duesShow(QObject *)
{
    // A delivery slip or receipt says its statement there: it has no date to ask for.
    if (m_model->kind() == DocumentKind::Delivery)
        return amountsShow();
    if (kindWords(m_model->kind()).dueLabel.isEmpty())
        return paperShow();
    // Opening the region asks for a due date: it is offered at once, by the user's usual term.
    duesCtrl->load(m_model->dueDate().isValid() ? m_model->dueDate() : proposedDueDate(m_model->date()));
    show(duesCtrl.get());
}

void Document::duesCopy(QObject *)
{
    m_page->setGuide(SheetRegion::DueDate, false);
    m_dueStale = false;
    setDueDate(duesCtrl->dueDate());
    updateChangeCount(ChangeDone);
    hide();
}

void Document::setRemarks(const QString &remarks)
{
    m_model->setRemarks(remarks);
}

void Document::noteShow(QObject *)
{
    noteCtrl->load(remarks());
    show(noteCtrl.get());
}

void Document::noteCopy(QObject *)
{
    const QString typed = noteCtrl->typed();
    if (refusesUnkeptText(m_window.get(), {typed}))
        return;
    setRemarks(tidiedRemarks(typed));
    m_page->setGuide(SheetRegion::Remarks, false);
    updateChangeCount(ChangeDone);
    hide();
}

QString Document::startAsNextInvoice(bool keepSums, bool moveRowDates, const QDate &day)
{
    const QDate was = m_model->date();
    const QDate now = day.isValid() ? day : monthsLater(was, 1);
    m_model->setDate(now);
    moveWithTheDate(was, now, moveRowDates);
    // The copy is an invoice of its own at once: its number, for its own date, is taken, and given
    // back if the copy is closed unused.
    const Result<void> numbered = m_model->number().isEmpty() ? Result<void>() : takeInvoiceNumber();
    // A copy of a month's statement is an invoice of its own: the slips and the balance were that month's.
    const bool wasStatement = m_model->statement().has_value();
    m_model->setStatement(std::nullopt);
    m_model->setPayment(0); // next month's receipt acknowledges next month's payment
    m_model->setMadeFrom(QString());
    if (!keepSums) {
        m_model->removeSumsRows();
        m_model->setAmountBox(emptyAmountBox());
    } else if (wasStatement) {
        takeTableTotal();
    }
    dateLoad();
    clearGuideBorders();
    m_amountStale = false;
    m_dueStale = false;
    m_madeByDuplicate = true;
    if (numbered)
        return QString();
    setInvoiceNumber(QString());
    m_page->setGuide(SheetRegion::Number, true);
    return tr("This copy has no number yet. %1").arg(numbered.message());
}

void Document::moveWithTheDate(const QDate &was, const QDate &now, bool moveRows)
{
    const int months = monthsBetween(was, now);
    if (moveRows)
        moveRowDatesBy(months, was);
    if (m_model->dueDate().isValid()) {
        // A customer's terms give the due date for the new date; otherwise it moves as the
        // invoice date did, so the term between them stays, and a due date that would still fall
        // before the invoice date is proposed afresh by the usual term.
        const QDate due = dueDateByTerms(now).value_or(monthsLater(m_model->dueDate(), months));
        m_model->setDueDate(due >= now ? due : proposedDueDate(now));
    }
}

bool Document::rowDatesWouldMove(int months, const QDate &invoiceDate) const
{
    for (int i = 0; i < m_model->table()->count(); ++i) {
        const RowPtr row = m_model->table()->row(i);
        if (row->isHeader() || !cellIsText(row->value(Column::Date)))
            continue;
        const QString text = row->value(Column::Date).toString();
        if (movedRowDate(text, months, invoiceDate) != text)
            return true;
    }
    return false;
}

bool Document::offerToFollowTheDate(const QDate &was, const QDate &now)
{
    if (!m_madeByDuplicate || !m_filePath.isEmpty() || !was.isValid() || !now.isValid())
        return true;
    const int months = monthsBetween(was, now);
    // A number counted in the old date's sequence (its year) would be out of place in the new one.
    const bool numberMoves = m_pageTaken && !m_pageTaken->shared && m_pageTaken->text == m_model->number() &&
                             m_pageTaken->counter != proposedNumber(now).counter;
    if (months == 0 || (!m_model->dueDate().isValid() && !numberMoves && !rowDatesWouldMove(months, was)))
        return true;
    const QString format = QStringLiteral("yyyy/MM/dd");
    const int choice = Prompter::instance().askToChoose(
        dateCtrl.get(), tr("Move the rows' dates and the due date with the invoice date?"),
        tr("This copy is not saved yet: its rows' dates and its due date can move on as its date did, from %1 to "
           "%2, and a number taken for it can follow the new date.")
            .arg(was.toString(format), now.toString(format)),
        {tr("Move Them"), tr("Leave Them")});
    if (choice < 0)
        return false;
    if (choice == 1)
        return true;
    moveWithTheDate(was, now, true);
    if (numberMoves) {
        // The new number is taken before the old one goes back: a number the server cannot give
        // now leaves the page's as it was, and still taken, so that no other invoice is given it.
        const NumberProposal old = *m_pageTaken;
        if (takeInvoiceNumberFor(now))
            seikyu::releaseTakenNumber(
                old, releasedBecause(QT_TRANSLATE_NOOP("seikyu::Document", "its invoice was dated into another year")));
    }
    return true;
}

void Document::moveRowDatesBy(int months, const QDate &invoiceDate)
{
    if (months == 0)
        return;
    for (int i = 0; i < m_model->table()->count(); ++i) {
        const RowPtr row = m_model->table()->row(i);
        if (row->isHeader() || !cellIsText(row->value(Column::Date)))
            continue;
        const QString text = row->value(Column::Date).toString();
        const QString moved = movedRowDate(text, months, invoiceDate);
        if (moved != text)
            m_model->table()->setCell(i, Column::Date, moved);
    }
}

} // namespace seikyu
