// The customer's electronic address (Peppol ID), typed once with the customer in the customer panel.
#include "document/Document.h"
#include "einvoice/PeppolId.h"
#include "sections/CustomerPeers.h"
#include "widgets/PageButton.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

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
            const QString entry = whomDial->currentData(Qt::UserRole).toString();
            const QString stored = storedPeerOf(entry);
            // The page's own customer keeps the address its file gave, when the list has none.
            field->setText(
                stored.isEmpty() && whom && customerName(whom->title(), QString()).startsWith(entry) ? m_peer : stored);
        });
    }
    if (ok) {
        // After the customer is put on the page: its address goes with it, and stays with the entry.
        connect(ok, &QPushButton::clicked, this, [this, field] {
            const PeppolIdCheck checked = checkPeppolId(field->text());
            const QString entry = whomDial ? whomDial->currentData(Qt::UserRole).toString() : QString();
            if (entry.isEmpty() || checked.state == PeppolIdCheck::State::Incomplete ||
                checked.state == PeppolIdCheck::State::Invalid)
                return;
            storePeer(entry, checked.id.text());
            if (m_peer != checked.id.text()) {
                m_peer = checked.id.text();
                updateChangeCount(ChangeDone);
            }
        });
    }
    check();
}

void Document::setPeer(const QString &peer)
{
    m_peer = peer;
    const PeppolIdCheck checked = checkPeppolId(peer);
    // Opening a file teaches the customer its address, as it teaches the list the customer.
    const QString entry = whomDial ? whomDial->currentData(Qt::UserRole).toString() : QString();
    if (m_teachesLists && checked.state == PeppolIdCheck::State::Valid && !entry.isEmpty() &&
        storedPeerOf(entry).isEmpty())
        storePeer(entry, checked.id.text());
    if (whomPeer)
        whomPeer->setText(peer);
}

} // namespace seikyu
