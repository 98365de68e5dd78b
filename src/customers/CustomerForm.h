#pragma once

#include "customers/Customer.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace seikyu {

/// The fields of one customer, as the customer book's window edits them.
class CustomerForm : public QWidget
{
    Q_OBJECT

public:
    explicit CustomerForm(QWidget *parent = nullptr);

    /// Shows the customer in the fields.
    void setCustomer(const Customer &customer);
    /// The customer as the fields now describe it; its terms only when they read as terms.
    Customer customer() const;
    /// Whether the payment terms typed read as terms (or are empty).
    bool termsAreReadable() const;

signals:
    /// A field was left after a change, or a choice was made: time to store the customer.
    void edited();

private:
    void showTermsReading();

    Customer m_shown;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_kana = nullptr;
    QComboBox *m_honorific = nullptr;
    QLineEdit *m_department = nullptr;
    QLineEdit *m_contactTitle = nullptr;
    QLineEdit *m_contactName = nullptr;
    QLineEdit *m_postalCode = nullptr;
    QLineEdit *m_address1 = nullptr;
    QLineEdit *m_address2 = nullptr;
    QLineEdit *m_telephone = nullptr;
    QLineEdit *m_email = nullptr;
    QLineEdit *m_peppolId = nullptr;
    QComboBox *m_closingDay = nullptr;
    QLineEdit *m_terms = nullptr;
    QLabel *m_termsReading = nullptr;
    QPlainTextEdit *m_note = nullptr;
};

} // namespace seikyu
