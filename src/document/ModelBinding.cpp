// The invoice model and the page. The page shows what the model holds: its panels write into the
// model on OK and the page follows. The lists of titles,
// customers and issuers and the honorific write into the model as they change, whoever changes them
// (the user, a file being shown, undo). What is saved, recorded or exported is read from the model
// alone.
#include "document/CustomerSection.h"
#include "document/Document.h"
#include "document/TablePanel.h"
#include "invoice/InvoiceModel.h"
#include "widgets/PageButton.h"

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
    connect(whom, &PageButton::titleChanged, this, &Document::keepCustomer);
    keepCustomer();
    connect(push, &PageButton::imageSet, model, &InvoiceModel::setStamp);
    model->setStamp(push->image());

    model->setHonorificChoice(m_customers->honorificChoice());
    connect(m_customers.get(), &CustomerSection::honorificChanged, this,
            [this] { m_model->setHonorificChoice(m_customers->honorificChoice()); });
    connect(model, &InvoiceModel::valuesChanged, this, &Document::followModel);
}

void Document::followModel()
{
    const auto show = [](PageButton *region, const QString &text) {
        if (region && region->title() != text)
            region->setTitle(text);
    };
    show(head, m_model->title());
    show(home, m_model->issuer());
    show(sums, m_model->amountBox());
    if (push && push->image() != m_model->stamp())
        push->setImage(m_model->stamp());
    dateLoad(); // the due date with it: it is shown in the invoice date's form
    show(numb, m_model->number().isEmpty() ? QString() : QStringLiteral("No. ") + m_model->number());
    if (note && note->title() != m_model->remarks()) {
        note->setTitle(m_model->remarks());
        fitPageTable(); // the remarks take room under the table
    }
}

void Document::keepCustomer()
{
    const QString honorific = shownHonorific();
    m_model->setCustomer(customerName(whom ? whom->title() : QString(), honorific), honorific);
}

} // namespace seikyu
