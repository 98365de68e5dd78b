#pragma once

#include <QDate>
#include <QDialog>
#include <QPointer>

class QDateEdit;
class QLabel;
class QLineEdit;

namespace seikyu {

/// Asks for a payment received: the day, the amount (proposed: what is still owed) and a remark.
class PaymentDialog : public QDialog
{
    Q_OBJECT

public:
    PaymentDialog(const QString &invoiceText, qint64 outstanding, QWidget *parent = nullptr);

    QDate date() const;
    /// The amount typed, in whole yen (￥, commas and full-width digits allowed); 0 when none.
    qint64 amount() const;
    QString note() const;

    /// Closes the dialog only with an amount above ￥0; otherwise says why and stays open.
    void accept() override;

private:
    QPointer<QDateEdit> m_date;
    QPointer<QLineEdit> m_amount;
    QPointer<QLineEdit> m_note;
    QPointer<QLabel> m_reason;
};

} // namespace seikyu
