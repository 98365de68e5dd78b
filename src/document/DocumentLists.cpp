// The title, customer and issuer sections as the document uses them: each section's panel chooses
// an entry of its list; OK puts the entry on the page.
#include "document/CustomerSection.h"
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "document/InvoiceWindow.h"
#include "document/IssuerSection.h"
#include "document/ListSection.h"
#include "document/PanelSheet.h"
#include "sections/EntryFields.h"
#include "sections/PanelSnapshot.h"
#include "sections/RegistrationNumber.h"
#include "sections/SavedLists.h"
#include "sections/UnkeptTexts.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"

namespace seikyu {

void Document::buildListPanels()
{
    QWidget *window = m_window.get();
    const ListSectionHost host{
        [this](Popover *popover, QWidget *anchor) { comeOver(popover, anchor); },
        [this] { away(); },
        [this](const Fault &fault) { reportListFault(fault); },
        [this] { return m_panelAtOpen.get(); },
    };
    m_titles = std::make_unique<ListSection>(
        ListSection::Shape{
            QStringLiteral("head"),
            QStringLiteral("head"),
            tr("Title"),
            {QStringLiteral("headNewsText")},
            {QStringLiteral("headEditText")},
            {tr("Title")},
            tr("The document's title. Add the titles you use with +; OK puts the selected one on the page."),
        },
        listStoreFor(QStringLiteral("head")), window, host);
    m_customers = std::make_unique<CustomerSection>(
        ListSection::Shape{
            QStringLiteral("whom"),
            QStringLiteral("whom"),
            tr("Customer"),
            {QStringLiteral("whomNewsText")},
            {QStringLiteral("whomEditText")},
            {tr("Name")},
            tr("The customer. Add your customers with +, then choose 御中 for a company or 様 for a person."),
        },
        listStoreFor(QStringLiteral("whom")), window, host);
    m_issuers = std::make_unique<IssuerSection>(
        ListSection::Shape{
            QStringLiteral("home"),
            QStringLiteral("from"),
            tr("Your Details"),
            {QStringLiteral("newsCode"), QStringLiteral("newsMaps"), QStringLiteral("newsName"),
             QStringLiteral("newsCall"), QStringLiteral("newsBank"), QStringLiteral("newsRegn")},
            {QStringLiteral("editCode"), QStringLiteral("editMaps"), QStringLiteral("editName"),
             QStringLiteral("editCall"), QStringLiteral("editBank"), QStringLiteral("editRegn")},
            {tr("Postal code"), tr("Address"), tr("Name"), tr("Telephone"), tr("Bank account"),
             tr("Registration number")},
            tr("Your own details: postal code, address, name, telephone and bank account, and the registration "
               "number (登録番号) that makes the invoice a qualified invoice."),
        },
        listStoreFor(QStringLiteral("from")), window, host);
    for (ListSection *section : listSections())
        connect(section, &ListSection::confirmed, this, [this, section] { listCopy(*section); });
    if (PageButton *home = region(SheetRegion::Issuer))
        home->setPresentation(issuerPageText);
    followCustomerBook();
}

QList<ListSection *> Document::listSections() const
{
    return {m_titles.get(), m_customers.get(), m_issuers.get()};
}

ListSection &Document::listSection(const QString &key) const
{
    for (ListSection *section : listSections()) {
        if (section->key() == key)
            return *section;
    }
    Q_UNREACHABLE();
}

PageButton *Document::pageButtonOf(const ListSection &section) const
{
    return region(&section == m_titles.get()      ? SheetRegion::Title
                  : &section == m_customers.get() ? SheetRegion::Customer
                                                  : SheetRegion::Issuer);
}

QString Document::listPageText(const ListSection &section, const QString &entry) const
{
    const QString label = &section == m_customers.get() ? m_customers->honorific() : QString();
    // With no honorific chosen the name stands alone: a trailing space would be taken for part of
    // the name when the file is written and read back.
    return label.isEmpty() ? entry : QStringLiteral("%1 %2").arg(entry, label);
}

void Document::showListEntry(ListSection &section, const QString &entry)
{
    PageButton *button = pageButtonOf(section);
    if (!button)
        return;
    const bool customer = &section == m_customers.get();
    // The honorific first: the customer's name is read off the page's text with it.
    if (customer)
        m_shownHonorific = m_customers->honorific();
    button->setTitle(listPageText(section, entry));
    if (customer)
        keepCustomer(); // the text may read the same with another honorific
}

void Document::listCopy(ListSection &section)
{
    const std::optional<ListEntry> entry = section.chosenEntry();
    if (!entry || entry->text.isEmpty())
        return;
    showListEntry(section, entry->text);
    if (&section == m_customers.get())
        customerChosen(entry->key);
    section.settleChoice(entry->key);
    m_page->setGuide(&section == m_titles.get()      ? SheetRegion::Title
                     : &section == m_customers.get() ? SheetRegion::Customer
                                                     : SheetRegion::Issuer,
                     false);
    updateChangeCount(ChangeDone);
    hide();
}

void Document::checkSettingsWritten()
{
    if (!SavedLists::instance().lastWriteSucceeded())
        reportSettingsNotWritten();
}

void Document::reportSettingsNotWritten()
{
    reportListFault(settingsNotWritten());
}

void Document::reportListFault(const Fault &fault)
{
    Prompter::instance().alert(m_window.get(), fault.message, fault.detail);
}

// clang-format off
void Document::headLoad() { m_titles->load(); }
void Document::headShow(QObject *) { show(m_titles->panel()); }
void Document::headPlus(QObject *sender) { m_titles->openPlus(qobject_cast<QWidget *>(sender)); }
void Document::headKill(QObject *sender) { m_titles->openKill(qobject_cast<QWidget *>(sender)); }
void Document::headEdit(QObject *sender) { m_titles->openEdit(qobject_cast<QWidget *>(sender)); }
void Document::headCopy(QObject *) { listCopy(*m_titles); }
void Document::headPlusExec(QObject *) { m_titles->plusExec(); }
void Document::headKillExec(QObject *) { m_titles->killExec(); }
void Document::headEditExec(QObject *) { m_titles->editExec(); }

void Document::whomLoad() { m_customers->load(); }
void Document::whomShow(QObject *) { show(m_customers->panel()); }
void Document::whomPlus(QObject *sender) { m_customers->openPlus(qobject_cast<QWidget *>(sender)); }
void Document::whomKill(QObject *sender) { m_customers->openKill(qobject_cast<QWidget *>(sender)); }
void Document::whomEdit(QObject *sender) { m_customers->openEdit(qobject_cast<QWidget *>(sender)); }
void Document::whomCopy(QObject *) { listCopy(*m_customers); }
void Document::whomPlusExec(QObject *) { m_customers->plusExec(); }
void Document::whomKillExec(QObject *) { m_customers->killExec(); }
void Document::whomEditExec(QObject *) { m_customers->editExec(); }

void Document::homeLoad() { m_issuers->load(); }
void Document::homeShow(QObject *) { show(m_issuers->panel()); }
void Document::homePlus(QObject *sender) { m_issuers->openPlus(qobject_cast<QWidget *>(sender)); }
void Document::homeKill(QObject *sender) { m_issuers->openKill(qobject_cast<QWidget *>(sender)); }
void Document::homeEdit(QObject *sender) { m_issuers->openEdit(qobject_cast<QWidget *>(sender)); }
void Document::homeCopy(QObject *) { listCopy(*m_issuers); }
void Document::homePlusExec(QObject *) { m_issuers->plusExec(); }
void Document::homeKillExec(QObject *) { m_issuers->killExec(); }
void Document::homeEditExec(QObject *) { m_issuers->editExec(); }
// clang-format on

} // namespace seikyu
