#include "ledger/PaymentDialog.h"

#include "table/Amounts.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

PaymentDialog::PaymentDialog(const QString &invoiceText, qint64 outstanding, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Record Payment"));
    auto *layout = new QVBoxLayout(this);
    auto *about = new QLabel(invoiceText, this);
    about->setWordWrap(true);
    layout->addWidget(about);

    auto *form = new QFormLayout;
    m_date = new QDateEdit(QDate::currentDate(), this);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setAccessibleName(tr("Date received"));
    form->addRow(tr("&Date received:"), m_date);
    m_amount = new QLineEdit(QString::number(std::max<qint64>(0, outstanding)), this);
    m_amount->setObjectName(QStringLiteral("amount"));
    m_amount->setAccessibleName(tr("Amount received"));
    form->addRow(tr("&Amount (yen):"), m_amount);
    m_note = new QLineEdit(this);
    m_note->setAccessibleName(tr("Remark"));
    form->addRow(tr("&Remark:"), m_note);
    layout->addLayout(form);
    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("reason"));
    m_reason->setWordWrap(true);
    m_reason->hide();
    layout->addWidget(m_reason);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Record"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_amount, &QLineEdit::textChanged, m_reason, &QWidget::hide);
    m_amount->selectAll();
    m_amount->setFocus();
}

void PaymentDialog::accept()
{
    // Nothing received is no payment: said here, with the amount still there to correct.
    if (amount() <= 0) {
        m_reason->setText(tr("A payment is more than %1: type the amount received.").arg(mark(0)));
        m_reason->show();
        m_amount->selectAll();
        m_amount->setFocus();
        return;
    }
    QDialog::accept();
}

QDate PaymentDialog::date() const
{
    return m_date->date();
}

qint64 PaymentDialog::amount() const
{
    return amountOf(m_amount->text());
}

QString PaymentDialog::note() const
{
    return m_note->text().trimmed();
}

} // namespace seikyu
