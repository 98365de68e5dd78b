#pragma once

#include "document/ListSection.h"

namespace seikyu {

/// The issuer section: a list section whose entries are the issuer's lines (postal code, address,
/// name, telephone, bank account and the optional registration number 登録番号, checked before it
/// is kept), with the bank account typed as fields in a popover of its own.
class IssuerSection : public ListSection
{
    Q_OBJECT

public:
    IssuerSection(const Shape &shape, ListStore *store, QWidget *window, ListSectionHost host);

    /// Opens the bank account fields, filled from the chosen entry's bank line.
    void openBank(QWidget *anchor);
    /// Writes the fields' account into the chosen entry as its bank line.
    void bankExec();

private:
    void buildBankPopover();
    std::optional<QStringList> checkedRegistration(QStringList fields, QWidget *parent) const;

    QPointer<Popover> m_bank;
};

} // namespace seikyu
