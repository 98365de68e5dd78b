// The customer panel chooses from the customer book: choosing a customer brings its honorific,
// electronic address, postal address and terms; the panel's list changes are the book's.
#include "customers/CustomerBookStore.h"
#include "customers/CustomerBookWindow.h"
#include "document/Document.h"
#include "einvoice/PeppolId.h"
#include "sections/ListFamily.h"
#include "widgets/PageButton.h"
#include "widgets/PanelExtraButton.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

const QString CustomerKey = QStringLiteral("whom");

std::optional<qint64> chosenKey(const QComboBox *dial)
{
    if (!dial || dial->currentIndex() < 0)
        return std::nullopt;
    return dial->currentData(EntryKeyRole).toLongLong();
}

} // namespace

QPointer<ListStore> Document::listStoreFor(const QString &key)
{
    if (key == CustomerKey)
        return new CustomerBookStore(QString(), this);
    return new SettingsListStore(key, this);
}

void Document::followCustomerHonorifics()
{
    ListFamily &customers = family(CustomerKey);
    // Only the user's own choice: a list refreshed by another window, or a panel put back on
    // Cancel, keeps the honorific it shows.
    if (whomDial)
        connect(whomDial, &QComboBox::activated, this, [this] { selectRememberedHonorific(); });
    // A customer the panel adds, or an opened invoice teaches the book, is addressed as the panel
    // shows it then.
    if (auto *book = qobject_cast<CustomerBookStore *>(customers.store); book && tail)
        connect(tail, &SegmentedControl::selectedSegmentChanged, book,
                [book](int segment) { book->setHonorificForNew(segment == 1 ? 1 : 0); });
    customers.chosen = [this](qint64 key) {
        auto *book = qobject_cast<CustomerBookStore *>(family(CustomerKey).store);
        std::optional<Customer> customer = book ? book->customer(key) : std::nullopt;
        if (customer) {
            // The honorific and the electronic address confirmed here stay with the customer.
            Customer confirmed = *customer;
            confirmed.honorific = tail && tail->selectedSegment() == 1 ? 1 : 0;
            if (whomPeer) {
                const PeppolIdCheck checked = checkPeppolId(whomPeer->text());
                if (checked.state == PeppolIdCheck::State::Empty || checked.state == PeppolIdCheck::State::Valid)
                    confirmed.peppolId = checked.id.text();
            }
            if (confirmed != *customer) {
                if (const Result<void> stored = book->update(confirmed); !stored)
                    reportListFault(stored.fault());
            }
        }
        if (whomPeer) {
            const PeppolIdCheck checked = checkPeppolId(whomPeer->text());
            if (checked.state == PeppolIdCheck::State::Empty || checked.state == PeppolIdCheck::State::Valid)
                m_model->setCustomerElectronicAddress(checked.id.text());
        }
        takeCustomerFromBook();
    };
}

void Document::selectRememberedHonorific()
{
    auto *book = qobject_cast<CustomerBookStore *>(family(CustomerKey).store);
    const std::optional<qint64> key = chosenKey(whomDial);
    if (!book || !key || !tail)
        return;
    if (const std::optional<Customer> customer = book->customer(*key))
        tail->setSelectedSegment(customer->honorific == 1 ? 1 : 0);
}

void Document::setUpCustomerPeer()
{
    QDialog *panel = whomCtrl.get();
    auto *layout = panel ? qobject_cast<QVBoxLayout *>(panel->layout()) : nullptr;
    if (!layout)
        return;
    auto *field = new QLineEdit(panel);
    field->setObjectName(QStringLiteral("whomPeer"));
    field->setPlaceholderText(tr("0188:corporate number or 0221:T and 13 digits"));
    field->setToolTip(tr("The customer's electronic address for e-invoices (Peppol ID): 0188 and the 13-digit "
                         "corporate number (法人番号), or 0221 and the registration number (登録番号). Kept with the "
                         "customer."));
    auto *status = new QLabel(panel);
    status->setObjectName(QStringLiteral("whomPeerNote"));
    status->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(tr("Electronic address:"), field);
    form->addRow(QString(), status);
    // Above the panel's buttons, which are its last item.
    layout->insertLayout(layout->count() - 1, form);
    whomPeer = field;
    QPushButton *ok = panel->findChild<QPushButton *>(QStringLiteral("whomCtrlOk"));

    // Checked as it is typed: OK waits until the address is one, or the field is empty.
    auto check = [field, status, ok] {
        const PeppolIdCheck checked = checkPeppolId(field->text());
        status->setText(checked.state == PeppolIdCheck::State::Valid
                            ? tr("Electronic address %1").arg(checked.id.text())
                            : checked.reason);
        if (ok)
            ok->setEnabled(checked.state == PeppolIdCheck::State::Empty ||
                           checked.state == PeppolIdCheck::State::Valid);
    };
    connect(field, &QLineEdit::textChanged, this, check);
    if (whomDial) {
        connect(whomDial, &QComboBox::currentIndexChanged, this, [this, field] {
            auto *book = qobject_cast<CustomerBookStore *>(family(CustomerKey).store);
            const std::optional<qint64> key = chosenKey(whomDial);
            const std::optional<Customer> customer = book && key ? book->customer(*key) : std::nullopt;
            const QString stored = customer ? customer->peppolId : QString();
            const QString name = customer ? customer->name : QString();
            // The page's own customer keeps the address its file gave, when the book has none.
            field->setText(stored.isEmpty() && whom && !name.isEmpty() &&
                                   customerName(whom->title(), QString()).startsWith(name)
                               ? m_model->customerElectronicAddress()
                               : stored);
        });
    }
    check();
}

void Document::setPeer(const QString &peer)
{
    m_model->setCustomerElectronicAddress(peer);
    const PeppolIdCheck checked = checkPeppolId(peer);
    // Opening a file teaches the customer its address, as it teaches the book the customer.
    auto *book = qobject_cast<CustomerBookStore *>(family(CustomerKey).store);
    const std::optional<qint64> key = chosenKey(whomDial);
    if (m_teachesLists && checked.state == PeppolIdCheck::State::Valid && book && key) {
        if (std::optional<Customer> customer = book->customer(*key); customer && customer->peppolId.isEmpty()) {
            customer->peppolId = checked.id.text();
            (void)book->update(*customer); // the invoice keeps its address whether or not the book does
        }
    }
    if (whomPeer)
        whomPeer->setText(peer);
}

void Document::setUpCustomerBookLink()
{
    const QPointer<Popover> removal = family(QStringLiteral("whom")).killPopover;
    if (auto *question = removal ? removal->findChild<QLabel *>() : nullptr)
        question->setText(tr("Remove the chosen customer from the customer book? Its address and payment terms "
                             "go with it; invoices already made keep its name."));
    QPushButton *open = addButtonAbovePanelButtons(
        whomCtrl, tr("Edit in Customers…"), QStringLiteral("whomBook"),
        tr("Opens the chosen customer in the customer book (Window ▸ Customers): its address, "
           "contact and payment terms."));
    if (!open)
        return;
    connect(open, &QPushButton::clicked, this, [this] {
        CustomerBookWindow *window = CustomerBookWindow::showWindow();
        if (const std::optional<qint64> key = chosenKey(whomDial))
            window->showCustomer(*key);
    });
}

} // namespace seikyu
