#pragma once

#include "document/ListSection.h"

class QLabel;

namespace seikyu {

class SegmentedControl;

/// The customer section: a list section whose panel also chooses the honorific (御中 or 様) and
/// takes the customer's electronic address for e-invoices, checked as it is typed, and offers the
/// way to the customer in the customer book.
class CustomerSection : public ListSection
{
    Q_OBJECT

public:
    CustomerSection(const Shape &shape, ListStore *store, QWidget *window, ListSectionHost host);

    /// The chosen honorific: 0 御中, 1 様.
    int honorificChoice() const;
    void setHonorificChoice(int segment);
    /// The honorific as the page writes it after the name; empty when none is chosen.
    QString honorific() const;
    /// The electronic address as typed.
    QString peer() const;
    void setPeer(const QString &peer);
    /// The typed electronic address in its checked form, when it is one or the field is empty;
    /// nothing while what is typed is no address.
    std::optional<QString> acceptablePeer() const;

signals:
    /// The user chose an honorific.
    void honorificChosen(int segment);
    /// The honorific changed, by the user or by a program.
    void honorificChanged();
    /// The user asked to see the chosen customer in the customer book.
    void bookAsked();

private:
    void checkPeer();

    QPointer<SegmentedControl> m_honorific;
    QPointer<QLineEdit> m_peer;
    QPointer<QLabel> m_peerNote;
};

} // namespace seikyu
