#include "customers/CustomerForm.h"

#include "customers/AddressBlock.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace seikyu {

namespace {

/// The closing-day choices: none, a day 1 to 28, or the month's end.
constexpr int NoClosingDay = 0;
constexpr int MonthEndChoice = 29;

int closingDayOfChoice(int choice)
{
    return choice >= MonthEndChoice ? MonthEndDay : choice;
}

/// Tells the form when the note, which has no editingFinished, loses the focus.
class FocusOut : public QObject
{
public:
    FocusOut(QObject *parent, std::function<void()> left) : QObject(parent), m_left(std::move(left)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            m_left();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_left;
};

} // namespace

CustomerForm::CustomerForm(QWidget *parent) : QWidget(parent)
{
    auto *form = new QFormLayout(this);
    const auto line = [&](QLineEdit *&field, const char *name, const QString &label) {
        field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        form->addRow(label, field);
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            if (field->isModified()) {
                field->setModified(false);
                emit edited();
            }
        });
    };
    line(m_name, "customerName", tr("Name:"));
    line(m_kana, "customerKana", tr("Reading (kana):"));
    m_honorific = new QComboBox(this);
    m_honorific->setObjectName(QStringLiteral("customerHonorific"));
    m_honorific->addItems({QStringLiteral("御中"), QStringLiteral("様")});
    form->addRow(tr("Honorific:"), m_honorific);
    line(m_department, "customerDepartment", tr("Department:"));
    line(m_contactTitle, "customerContactTitle", tr("Contact's title:"));
    line(m_contactName, "customerContactName", tr("Contact person:"));
    line(m_postalCode, "customerPostalCode", tr("Postal code:"));
    line(m_address1, "customerAddress1", tr("Address:"));
    line(m_address2, "customerAddress2", tr("Building:"));
    line(m_telephone, "customerTelephone", tr("Telephone:"));
    line(m_email, "customerEmail", tr("Email:"));
    line(m_peppolId, "customerPeppolId", tr("E-invoice address:"));
    m_peppolId->setPlaceholderText(QStringLiteral("0188:… / 0221:T…"));
    m_closingDay = new QComboBox(this);
    m_closingDay->setObjectName(QStringLiteral("customerClosingDay"));
    m_closingDay->addItem(tr("None"));
    for (int day = 1; day <= 28; ++day)
        m_closingDay->addItem(QStringLiteral("%1日").arg(day));
    m_closingDay->addItem(QStringLiteral("末日"));
    form->addRow(tr("Closing day:"), m_closingDay);
    line(m_terms, "customerTerms", tr("Payment terms:"));
    m_terms->setPlaceholderText(QStringLiteral("翌月末 / 翌々月10日 / 30日"));
    m_termsReading = new QLabel(this);
    m_termsReading->setObjectName(QStringLiteral("customerTermsReading"));
    form->addRow(QString(), m_termsReading);
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("customerNote"));
    m_note->setTabChangesFocus(true);
    m_note->setMaximumHeight(80);
    form->addRow(tr("Note:"), m_note);
    m_note->installEventFilter(new FocusOut(m_note, [this] {
        if (m_note->document()->isModified()) {
            m_note->document()->setModified(false);
            emit edited();
        }
    }));

    connect(m_terms, &QLineEdit::textChanged, this, &CustomerForm::showTermsReading);
    for (QComboBox *choice : {m_honorific, m_closingDay}) {
        connect(choice, &QComboBox::activated, this, [this] {
            showTermsReading();
            emit edited();
        });
    }
}

void CustomerForm::setCustomer(const Customer &customer)
{
    m_shown = customer;
    const std::pair<QLineEdit *, QString> texts[] = {{m_name, customer.name},
                                                     {m_kana, customer.kana},
                                                     {m_department, customer.department},
                                                     {m_contactTitle, customer.contactTitle},
                                                     {m_contactName, customer.contactName},
                                                     {m_postalCode, customer.postalCode},
                                                     {m_address1, customer.address1},
                                                     {m_address2, customer.address2},
                                                     {m_telephone, customer.telephone},
                                                     {m_email, customer.email},
                                                     {m_peppolId, customer.peppolId}};
    for (const auto &[field, text] : texts) {
        field->setText(text);
        field->setModified(false);
    }
    m_honorific->setCurrentIndex(customer.honorific == 1 ? 1 : 0);
    const bool closing = customer.terms && customer.terms->basis == PaymentTerms::Basis::Closing;
    m_closingDay->setCurrentIndex(!closing ? NoClosingDay : std::min(customer.terms->closingDay, MonthEndChoice));
    // The terms are shown after the closing day, which the closing-day choice gives.
    QString terms = customer.terms ? paymentTermsText(*customer.terms) : QString();
    if (closing)
        terms = terms.section(QStringLiteral("締め"), 1);
    m_terms->setText(terms);
    m_terms->setModified(false);
    m_note->setPlainText(customer.note);
    m_note->document()->setModified(false);
    showTermsReading();
}

bool CustomerForm::termsAreReadable() const
{
    return m_terms->text().trimmed().isEmpty() || parsePaymentTerms(m_terms->text()).has_value();
}

Customer CustomerForm::customer() const
{
    Customer c = m_shown;
    c.name = m_name->text().trimmed();
    c.kana = m_kana->text().trimmed();
    c.honorific = m_honorific->currentIndex() == 1 ? 1 : 0;
    c.department = m_department->text().trimmed();
    c.contactTitle = m_contactTitle->text().trimmed();
    c.contactName = m_contactName->text().trimmed();
    c.postalCode = normalizedPostalCode(m_postalCode->text()).value_or(m_postalCode->text().trimmed());
    c.address1 = m_address1->text().trimmed();
    c.address2 = m_address2->text().trimmed();
    c.telephone = m_telephone->text().trimmed();
    c.email = m_email->text().trimmed();
    c.peppolId = m_peppolId->text().trimmed();
    c.note = m_note->toPlainText();
    const int closingIndex = m_closingDay->currentIndex();
    const int closingDay = closingIndex == NoClosingDay ? MonthEndDay : closingDayOfChoice(closingIndex);
    if (m_terms->text().trimmed().isEmpty() && closingIndex == NoClosingDay) {
        c.terms.reset();
    } else if (const std::optional<PaymentTerms> terms = parsePaymentTerms(
                   m_terms->text().trimmed().isEmpty() ? QStringLiteral("翌月末") : m_terms->text(), closingDay)) {
        c.terms = terms;
    }
    return c;
}

void CustomerForm::showTermsReading()
{
    if (!termsAreReadable()) {
        m_termsReading->setText(tr("Not understood: write it as 翌月末, 翌々月10日 or 30日."));
        return;
    }
    const Customer c = customer();
    m_termsReading->setText(c.terms ? paymentTermsText(*c.terms) : QString());
}

} // namespace seikyu
