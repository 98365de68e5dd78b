// The page's controls write what they show into the invoice model as they change, whoever changes
// them (the user, a file being shown, undo); what is saved, recorded or exported is read from the
// model alone.
#include "document/Document.h"
#include "invoice/InvoiceModel.h"
#include "widgets/PageButton.h"
#include "widgets/SegmentedControl.h"

#include <QCheckBox>
#include <QDateEdit>

namespace seikyu {

void Document::bindModel()
{
    InvoiceModel *model = m_model.get();
    const auto text = [this, model](PageButton *button, void (InvoiceModel::*set)(const QString &)) {
        (model->*set)(button->title());
        connect(button, &PageButton::titleChanged, model, set);
    };
    text(head, &InvoiceModel::setTitle);
    text(home, &InvoiceModel::setIssuer);
    text(sums, &InvoiceModel::setAmountBox);
    text(note, &InvoiceModel::setRemarks);
    connect(whom, &PageButton::titleChanged, this, &Document::keepCustomer);
    keepCustomer();
    connect(push, &PageButton::imageSet, model, &InvoiceModel::setStamp);
    model->setStamp(push->image());

    const auto check = [this, model](QCheckBox *box, void (InvoiceModel::*set)(bool)) {
        (model->*set)(box->isChecked());
        connect(box, &QCheckBox::toggled, model, set);
    };
    check(dateJaps, &InvoiceModel::setJapaneseEra);
    check(gridXtax, &InvoiceModel::setTaxOnTop);
    check(gridHold, &InvoiceModel::setWithholding);
    model->setDate(dateDial->date());
    connect(dateDial, &QDateEdit::dateChanged, model, &InvoiceModel::setDate);
    model->setHonorificChoice(tail->selectedSegment());
    connect(tail, &SegmentedControl::selectionChanged, this,
            [this] { m_model->setHonorificChoice(tail->selectedSegment()); });
}

void Document::keepCustomer()
{
    const QString honorific = shownHonorific();
    m_model->setCustomer(customerName(whom ? whom->title() : QString(), honorific), honorific);
}

} // namespace seikyu
