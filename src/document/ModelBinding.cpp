// The invoice model and the page. The page shows what the model holds: its panels write into the
// model on OK and the page follows. The lists of titles,
// customers and issuers and the honorific write into the model as they change, whoever changes them
// (the user, a file being shown, undo). What is saved, recorded or exported is read from the model
// alone.
#include "document/CustomerSection.h"
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "document/TablePanel.h"
#include "invoice/InvoiceModel.h"
#include "widgets/PageButton.h"

namespace seikyu {

void Document::bindModel()
{
    InvoiceModel *model = m_model.get();
    m_page->bindModel();
    connect(region(SheetRegion::Customer), &PageButton::titleChanged, this, &Document::keepCustomer);
    keepCustomer();

    model->setHonorificChoice(m_customers->honorificChoice());
    connect(m_customers.get(), &CustomerSection::honorificChanged, this,
            [this] { m_model->setHonorificChoice(m_customers->honorificChoice()); });
    connect(model, &InvoiceModel::valuesChanged, this, &Document::followModel);
}

void Document::followModel()
{
    if (!m_page)
        return;
    m_page->showModel();
    dateLoad(); // the due date with it: it is shown in the invoice date's form
}

void Document::keepCustomer()
{
    const QString honorific = shownHonorific();
    m_model->setCustomer(
        customerName(region(SheetRegion::Customer) ? region(SheetRegion::Customer)->title() : QString(), honorific),
        honorific);
}

} // namespace seikyu
