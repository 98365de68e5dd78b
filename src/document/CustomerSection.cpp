#include "document/CustomerSection.h"

#include "document/PanelSheet.h"
#include "einvoice/PeppolId.h"
#include "invoice/Invoice.h"
#include "widgets/SegmentedControl.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace seikyu {

CustomerSection::CustomerSection(const Shape &shape, ListStore *store, QWidget *window, ListSectionHost host)
    : ListSection(shape, store, window, std::move(host))
{
    m_honorific = new SegmentedControl({honorificLabel(0), honorificLabel(1)}, panel());
    m_honorific->setObjectName(QStringLiteral("tail"));
    m_honorific->setSelectedSegment(0);
    auto *honorificRow = new QHBoxLayout;
    honorificRow->addWidget(new QLabel(tr("Honorific:"), panel()));
    honorificRow->addWidget(m_honorific);
    honorificRow->addStretch();
    addAboveButtons(honorificRow);
    // Tab reaches the honorific where it stands: after the list's tools, before the closing buttons.
    QWidget *previous = panel()->findChild<QToolButton *>(QStringLiteral("whomEditButton"));
    for (QToolButton *segment : m_honorific->findChildren<QToolButton *>()) {
        if (previous)
            QWidget::setTabOrder(previous, segment);
        previous = segment;
    }
    connect(m_honorific, &SegmentedControl::selectedSegmentChanged, this, &CustomerSection::honorificChosen);
    connect(m_honorific, &SegmentedControl::selectionChanged, this, &CustomerSection::honorificChanged);

    m_peer = new QLineEdit(panel());
    m_peer->setObjectName(QStringLiteral("whomPeer"));
    m_peer->setPlaceholderText(tr("0188:corporate number or 0221:T and 13 digits"));
    m_peer->setToolTip(tr("The customer's electronic address for e-invoices (Peppol ID): 0188 and the 13-digit "
                          "corporate number (法人番号), or 0221 and the registration number (登録番号). Kept with the "
                          "customer."));
    m_peerNote = new QLabel(panel());
    m_peerNote->setObjectName(QStringLiteral("whomPeerNote"));
    m_peerNote->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(tr("Electronic address:"), m_peer);
    form->addRow(QString(), m_peerNote);
    addAboveButtons(form);
    connect(m_peer, &QLineEdit::textChanged, this, &CustomerSection::checkPeer);
    checkPeer();

    setRemoveQuestion(tr("Remove the chosen customer from the customer book? Its address and payment terms go "
                         "with it; invoices already made keep its name."));
    if (QPushButton *open = addWayOut(tr("Edit in Customers…"), QStringLiteral("whomBook"),
                                      tr("Opens the chosen customer in the customer book (Window ▸ Customers): its "
                                         "address, contact and payment terms.")))
        connect(open, &QPushButton::clicked, this, &CustomerSection::bookAsked);
}

int CustomerSection::honorificChoice() const
{
    return m_honorific ? m_honorific->selectedSegment() : -1;
}

void CustomerSection::setHonorificChoice(int segment)
{
    if (m_honorific)
        m_honorific->setSelectedSegment(segment);
}

QString CustomerSection::honorific() const
{
    return m_honorific ? m_honorific->labelForSegment(m_honorific->selectedSegment()) : QString();
}

QString CustomerSection::peer() const
{
    return m_peer ? m_peer->text() : QString();
}

void CustomerSection::setPeer(const QString &peer)
{
    if (m_peer)
        m_peer->setText(peer);
}

std::optional<QString> CustomerSection::acceptablePeer() const
{
    const PeppolIdCheck checked = checkPeppolId(peer());
    if (checked.state == PeppolIdCheck::State::Empty || checked.state == PeppolIdCheck::State::Valid)
        return checked.id.text();
    return std::nullopt;
}

void CustomerSection::checkPeer()
{
    // Checked as it is typed: OK waits until the address is one, or the field is empty.
    const PeppolIdCheck checked = checkPeppolId(peer());
    if (m_peerNote)
        m_peerNote->setText(checked.state == PeppolIdCheck::State::Valid
                                ? tr("Electronic address %1").arg(checked.id.text())
                                : checked.reason);
    if (auto *ok = panel()->findChild<QPushButton *>(QStringLiteral("whomCtrlOk")))
        ok->setEnabled(acceptablePeer().has_value());
}

} // namespace seikyu
