#include "app/PreferencesDialog.h"

#include "app/LedgerPlaceBox.h"
#include "document/AddressOffset.h"
#include "output/AddressCalibration.h"
#include "sections/FreelancePreferences.h"
#include "sections/SharedNumbers.h"
#include "table/TaxPreferences.h"
#include "update/UpdateChecker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace seikyu {

namespace {
/// A line under a choice that says what it means, wrapped to the dialog's width.
void addHint(QFormLayout *form, const QString &text)
{
    auto *hint = new QLabel(text, form->parentWidget());
    hint->setWordWrap(true);
    form->addRow(QString(), hint);
}
} // namespace

PreferencesDialog::PreferencesDialog(QWidget *parent) : QDialog(parent), m_checkUpdates(new QCheckBox)
{
    setObjectName(QStringLiteral("PreferencesDialog"));
    setWindowTitle(tr("Preferences"));
    m_checkUpdates->setObjectName(QStringLiteral("checkUpdates"));
    m_checkUpdates->setText(tr("Check for updates at start-up"));
    m_checkUpdates->setChecked(QSettings().value(UpdateChecker::SettingKey).toLongLong() != 0);
    connect(m_checkUpdates, &QCheckBox::toggled, this,
            [](bool on) { QSettings().setValue(UpdateChecker::SettingKey, on ? 1 : 0); });

    auto *form = new QFormLayout;
    addTaxChoices(form);
    addNumberChoices(form);
    addDueChoices(form);
    addAddressChoices(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_checkUpdates);
    layout->addWidget(new LedgerPlaceBox(this));
    layout->addStretch();
    layout->addWidget(buttons);
}

void PreferencesDialog::addTaxChoices(QFormLayout *form)
{
    const TaxPreferences current = TaxPreferences::load();
    m_taxRate = new QComboBox(this);
    m_taxRate->setObjectName(QStringLiteral("taxRate"));
    m_taxRate->addItem(tr("8 % (as invoices of earlier versions)"), 8);
    m_taxRate->addItem(tr("10 % (the standard rate since October 2019)"), 10);
    m_taxRate->setCurrentIndex(current.rate == 10 ? 1 : 0);
    m_taxRate->setAccessibleName(tr("Consumption tax of new invoices"));
    form->addRow(tr("Consumption tax of new invoices:"), m_taxRate);
    addHint(form, tr("Since October 2019 the standard rate is 10 %; 8 % is the reduced rate for food "
                     "and drink and newspapers, which you mark row by row in the item table."));

    m_taxRounding = new QComboBox(this);
    m_taxRounding->setObjectName(QStringLiteral("taxRounding"));
    m_taxRounding->addItem(tr("Round half up (四捨五入)"), static_cast<int>(TaxRounding::HalfAwayFromZero));
    m_taxRounding->addItem(tr("Round down (切り捨て)"), static_cast<int>(TaxRounding::Down));
    m_taxRounding->addItem(tr("Round up (切り上げ)"), static_cast<int>(TaxRounding::Up));
    m_taxRounding->setCurrentIndex(m_taxRounding->findData(static_cast<int>(current.rounding)));
    m_taxRounding->setAccessibleName(tr("Rounding of the consumption tax"));
    form->addRow(tr("Tax rounding, once per rate:"), m_taxRounding);

    auto save = [this] {
        TaxPreferences chosen;
        chosen.rate = m_taxRate->currentData().toInt();
        chosen.rounding = static_cast<TaxRounding>(m_taxRounding->currentData().toInt());
        chosen.save();
    };
    connect(m_taxRate, &QComboBox::currentIndexChanged, this, save);
    connect(m_taxRounding, &QComboBox::currentIndexChanged, this, save);
}

void PreferencesDialog::addNumberChoices(QFormLayout *form)
{
    m_numberPattern = new QLineEdit(FreelancePreferences::numberPattern(), this);
    m_numberPattern->setObjectName(QStringLiteral("numberPattern"));
    m_numberPattern->setMaxLength(FreelancePreferences::MaximumPatternLength);
    m_numberPattern->setPlaceholderText(DefaultNumberPattern);
    m_numberPattern->setAccessibleName(tr("Invoice number pattern"));
    form->addRow(tr("Invoice numbers:"), m_numberPattern);
    addHint(form, tr("{yyyy} is the year of the invoice date, {yy} its last two digits, {0000} the "
                     "sequence with as many digits as zeros; anything else stays as you write it. With "
                     "the year in the pattern, each year starts again at 1."));

    m_numberNext = new QSpinBox(this);
    m_numberNext->setObjectName(QStringLiteral("numberNext"));
    m_numberNext->setRange(1, static_cast<int>(FreelancePreferences::MaximumSequence));
    m_numberNext->setAccessibleName(tr("Next sequence number"));
    m_numberPreview = new QLabel(this);
    m_numberPreview->setObjectName(QStringLiteral("numberPreview"));
    m_numberPreview->setWordWrap(true);
    auto *sequence = new QHBoxLayout;
    sequence->addWidget(m_numberNext);
    sequence->addWidget(m_numberPreview, 1);
    form->addRow(tr("Next in sequence:"), sequence);
    showNextNumber();

    connect(m_numberPattern, &QLineEdit::textEdited, this, [this](const QString &pattern) {
        FreelancePreferences::setNumberPattern(pattern);
        showNextNumber();
    });
    connect(m_numberNext, &QSpinBox::valueChanged, this, [this](int next) {
        FreelancePreferences::setNextSequence(QDate::currentDate(), next);
        showNextNumber();
    });
}

void PreferencesDialog::showNextNumber()
{
    if (const SharedNumbers *office = activeSharedNumbers()) {
        // The office's server counts the numbers; this computer's count is not used.
        m_numberNext->setEnabled(false);
        const Result<NumberProposal> next = office->peek(QDate::currentDate());
        m_numberPreview->setText(next ? tr("The next invoice dated today, from the office's server: %1").arg(next->text)
                                      : tr("No number can be proposed now. %1").arg(next.message()));
        return;
    }
    m_numberNext->setEnabled(true);
    const NumberProposal next = FreelancePreferences::nextNumber(QDate::currentDate());
    const QSignalBlocker blocker(m_numberNext);
    m_numberNext->setValue(static_cast<int>(next.sequence));
    m_numberPreview->setText(tr("The next invoice dated today: %1").arg(next.text));
}

void PreferencesDialog::addDueChoices(QFormLayout *form)
{
    const DueRule current = FreelancePreferences::dueRule();
    m_dueTerm = new QComboBox(this);
    m_dueTerm->setObjectName(QStringLiteral("dueTerm"));
    m_dueTerm->addItem(tr("End of the following month (翌月末)"), static_cast<int>(DueTerm::EndOfNextMonth));
    m_dueTerm->addItem(tr("30 days after the invoice date"), static_cast<int>(DueTerm::ThirtyDays));
    m_dueTerm->addItem(tr("A fixed day of the following month"), static_cast<int>(DueTerm::DayOfNextMonth));
    m_dueTerm->setCurrentIndex(m_dueTerm->findData(static_cast<int>(current.term)));
    m_dueTerm->setAccessibleName(tr("Usual payment terms"));
    m_dueDay = new QSpinBox(this);
    m_dueDay->setObjectName(QStringLiteral("dueDay"));
    m_dueDay->setRange(1, 31);
    m_dueDay->setValue(current.day);
    m_dueDay->setAccessibleName(tr("Day of the following month"));
    m_dueDay->setToolTip(tr("A day the month does not have becomes its last day."));
    m_dueDay->setEnabled(current.term == DueTerm::DayOfNextMonth);
    auto *terms = new QHBoxLayout;
    terms->addWidget(m_dueTerm, 1);
    terms->addWidget(m_dueDay);
    form->addRow(tr("Payment due:"), terms);

    auto save = [this] {
        DueRule chosen;
        chosen.term = static_cast<DueTerm>(m_dueTerm->currentData().toInt());
        chosen.day = m_dueDay->value();
        m_dueDay->setEnabled(chosen.term == DueTerm::DayOfNextMonth);
        FreelancePreferences::setDueRule(chosen);
    };
    connect(m_dueTerm, &QComboBox::currentIndexChanged, this, save);
    connect(m_dueDay, &QSpinBox::valueChanged, this, save);

    auto *outside = new QCheckBox(tr("Money I receive is outside business (営業に関しない)"), this);
    outside->setObjectName(QStringLiteral("receiptsOutsideBusiness"));
    outside->setChecked(!FreelancePreferences::receiptsInBusiness());
    form->addRow(tr("Receipts:"), outside);
    addHint(form, tr("A paper receipt of ¥50,000 or more needs a revenue stamp, unless the money is received "
                     "outside business, as a salaried person selling their own things."));
    connect(outside, &QCheckBox::toggled, this,
            [](bool checked) { FreelancePreferences::setReceiptsInBusiness(!checked); });
}

void PreferencesDialog::addAddressChoices(QFormLayout *form)
{
    const QPointF current = savedAddressOffset();
    const auto millimetres = [this](const char *name, const QString &label, double value) {
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(-AddressOffsetLimit, AddressOffsetLimit);
        box->setSingleStep(0.5);
        box->setDecimals(1);
        box->setSuffix(tr(" mm"));
        box->setValue(value);
        box->setAccessibleName(label);
        return box;
    };
    m_addressRight = millimetres("addressRight", tr("Address block, millimetres to the right"), current.x());
    m_addressDown = millimetres("addressDown", tr("Address block, millimetres down"), current.y());
    auto *calibrate = new QPushButton(tr("Print Calibration Sheet…"), this);
    calibrate->setObjectName(QStringLiteral("printAddressCalibration"));
    auto *place = new QHBoxLayout;
    place->addWidget(new QLabel(tr("right"), this));
    place->addWidget(m_addressRight);
    place->addWidget(new QLabel(tr("down"), this));
    place->addWidget(m_addressDown);
    place->addWidget(calibrate);
    place->addStretch();
    form->addRow(tr("Address block:"), place);
    addHint(form, tr("An invoice whose customer has an address shows it at the top left, for the window of a "
                     "長形3号 envelope. Move it to fit your envelopes; print the calibration sheet to check."));

    auto save = [this] { saveAddressOffset({m_addressRight->value(), m_addressDown->value()}); };
    connect(m_addressRight, &QDoubleSpinBox::valueChanged, this, save);
    connect(m_addressDown, &QDoubleSpinBox::valueChanged, this, save);
    connect(calibrate, &QPushButton::clicked, this, [this] { printAddressCalibration(this); });
}

} // namespace seikyu
