#include "import/ImportRowsDialog.h"

#include "import/ColumnGuess.h"
#include "import/RowChecks.h"
#include "import/RowConversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace seikyu {

namespace {

ImportChooser &chooserSlot()
{
    static ImportChooser chooser;
    return chooser;
}

/// The chooser's value for the column that gives the tax class, after the table's columns.
constexpr int TaxClassChoice = ColumnCount;

/// The preview's columns before the file's own: each row's tax class and what needs a look in it,
/// where they are seen however many columns the file has.
constexpr int RowColumns = 2;

/// A light amber behind the lines that need a look.
QColor flaggedBackground()
{
    return {255, 236, 200};
}

QString taxClassTitle(TaxClass taxClass)
{
    switch (taxClass) {
    case TaxClass::Standard:
        return ImportRowsDialog::tr("Standard rate");
    case TaxClass::Reduced:
        return ImportRowsDialog::tr("Reduced rate 8 % ※");
    case TaxClass::Exempt:
        return ImportRowsDialog::tr("Not taxable");
    }
    return {};
}

QString columnTitle(Column column)
{
    switch (column) {
    case Column::Date:
        return ImportRowsDialog::tr("Date");
    case Column::Name:
        return ImportRowsDialog::tr("Description");
    case Column::Solo:
        return ImportRowsDialog::tr("Unit Price");
    case Column::Much:
        return ImportRowsDialog::tr("Quantity");
    case Column::Sums:
        return ImportRowsDialog::tr("Price");
    }
    return {};
}

} // namespace

ImportRowsDialog::ImportRowsDialog(QWidget *parent, const CsvFile &file, const QString &fileName)
    : QDialog(parent), m_file(file)
{
    setObjectName(QStringLiteral("importCtrl"));
    const bool pasted = fileName.isEmpty();
    setWindowTitle(pasted ? tr("Paste Rows") : tr("Import Rows"));
    resize(760, 460);
    auto *layout = new QVBoxLayout(this);
    auto *about = new QLabel(pasted ? tr("The columns of the pasted cells cannot be told apart by what they hold. "
                                         "Choose the table column each of them goes into.")
                                    : tr("“%1”, read as %2. Choose the table column each of its columns goes into.")
                                          .arg(fileName, encodingName(file.encoding)),
                             this);
    about->setWordWrap(true);
    layout->addWidget(about);
    m_header = new QCheckBox(tr("The first line names the columns"), this);
    m_header->setObjectName(QStringLiteral("importHeader"));
    m_header->setChecked(file.header.has_value());
    layout->addWidget(m_header);

    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("importPreview"));
    m_preview->setAccessibleName(tr("Preview of the rows"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setColumnCount(RowColumns + file.columnCount);
    m_preview->verticalHeader()->setDefaultSectionSize(24);
    layout->addWidget(m_preview, 1);
    for (int i = 0; i < file.columnCount; ++i) {
        auto *combo = new QComboBox(m_preview);
        combo->setObjectName(QStringLiteral("importColumn%1").arg(i + 1));
        combo->setAccessibleName(tr("Table column for column %1").arg(i + 1));
        combo->addItem(tr("(not imported)"), -1);
        for (int c = 0; c < ColumnCount; ++c)
            combo->addItem(columnTitle(static_cast<Column>(c)), c);
        combo->addItem(tr("Tax Class"), TaxClassChoice);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i] { columnChosen(i); });
        m_columns.append(combo);
    }
    // The choosers stay in the first line while the preview below them changes.
    m_preview->setRowCount(1);
    for (int i = 0; i < file.columnCount; ++i)
        m_preview->setCellWidget(0, RowColumns + i, m_columns.at(i));

    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("importNotes"));
    m_notes->setWordWrap(true);
    layout->addWidget(m_notes);
    auto *flaggedRow = new QHBoxLayout;
    m_flaggedCount = new QLabel(this);
    m_flagged = new QComboBox(this);
    m_flagged->setObjectName(QStringLiteral("importFlagged"));
    m_flagged->addItem(tr("Take them as written"), false);
    m_flagged->addItem(tr("Leave them out"), true);
    m_flaggedCount->setBuddy(m_flagged);
    flaggedRow->addWidget(m_flaggedCount);
    flaggedRow->addWidget(m_flagged);
    flaggedRow->addStretch();
    layout->addLayout(flaggedRow);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("importCtrlCancel"));
    m_import = buttons->addButton(pasted ? tr("Paste") : tr("Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("importCtrlOk"));
    m_import->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_header, &QCheckBox::toggled, this, [this](bool header) {
        const QStringList &first = m_file.table.records.constFirst().fields;
        if (!header)
            showMapping(mappingFromContent(m_file.table.records).value_or(tableOrderMapping(m_file.columnCount)),
                        std::nullopt);
        else if (std::optional<ColumnMapping> named = mappingFromHeader(first))
            showMapping(*named, taxColumnOfHeader(first));
        showPreview();
    });
    const ImportChoice proposed = file.proposedChoice();
    showMapping(proposed.mapping, proposed.taxColumn);
    showPreview();
}

void ImportRowsDialog::showPreview()
{
    const ImportChoice chosen = choice();
    const QList<TextRecord> records = m_file.table.records.mid(0, CheckedRows + (chosen.firstLineIsHeader ? 1 : 0));
    const ImportedRows rows = rowsFromRecords(records, chosen.mapping, chosen.firstLineIsHeader, chosen.taxColumn);
    QStringList titles{tr("Tax Class"), tr("Check")};
    for (int c = 0; c < m_file.columnCount; ++c) {
        const QStringList &names = records.constFirst().fields;
        titles.append(chosen.firstLineIsHeader && c < names.size() ? names.at(c) : QString::number(c + 1));
    }
    m_preview->setHorizontalHeaderLabels(titles);
    QStringList lines{tr("Into")};
    // The first lines, then further down the rows that need a look, so none of them is out of sight.
    m_preview->setRowCount(1);
    int flaggedFurther = 0;
    qsizetype next = 0; // the rows and the lines left out come in the records' order
    qsizetype nextSkipped = 0;
    for (qsizetype r = chosen.firstLineIsHeader ? 1 : 0; r < records.size(); ++r) {
        const TextRecord &record = records.at(r);
        const ImportedRow *row =
            next < rows.rows.size() && rows.rows.at(next).line == record.line ? &rows.rows.at(next++) : nullptr;
        const bool flagged = row && !row->problems.isEmpty();
        if (lines.size() > PreviewLines && (!flagged || ++flaggedFurther > PreviewLines))
            continue;
        QStringList cells;
        if (row) {
            cells << taxClassTitle(row->taxClass) << row->problems.join(QStringLiteral("; "));
        } else {
            while (nextSkipped < rows.skipped.size() && rows.skipped.at(nextSkipped).line < record.line)
                ++nextSkipped;
            cells << QString() << tr("Left out: %1").arg(rows.skipped.value(nextSkipped).reason);
        }
        cells << record.fields;
        cells.resize(RowColumns + m_file.columnCount);
        const int at = m_preview->rowCount();
        m_preview->insertRow(at);
        lines.append(QString::number(record.line));
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setToolTip(cells.at(c)); // the reasons are cut to the column's width
            if (flagged)
                item->setBackground(flaggedBackground());
            m_preview->setItem(at, c, item);
        }
    }
    m_preview->setVerticalHeaderLabels(lines);
    m_preview->resizeColumnsToContents();
    // Long reasons must not push the file's columns out of sight.
    constexpr int WidestCheck = 240;
    m_preview->setColumnWidth(1, std::min(m_preview->columnWidth(1), WidestCheck));
    m_notes->setText(readingNotes(rows).join(u'\n'));
    const qsizetype flagged = rows.flagged().size();
    m_flaggedCount->setText(records.size() < m_file.table.records.size()
                                ? tr("Rows that need a look among the first %1 (%2):").arg(CheckedRows).arg(flagged)
                                : tr("Rows that need a look (%1 of %2):").arg(flagged).arg(rows.rows.size()));
    m_flagged->setEnabled(flagged > 0);
}

void ImportRowsDialog::showMapping(const ColumnMapping &mapping, std::optional<int> taxColumn)
{
    m_showing = true;
    for (int i = 0; i < m_columns.size(); ++i) {
        int value = -1;
        if (i == taxColumn)
            value = TaxClassChoice;
        else if (i < mapping.size() && mapping.at(i))
            value = static_cast<int>(*mapping.at(i));
        m_columns.at(i)->setCurrentIndex(m_columns.at(i)->findData(value));
    }
    m_showing = false;
    m_import->setEnabled(fillsAnyColumn(choice().mapping));
}

void ImportRowsDialog::columnChosen(int fileColumn)
{
    if (m_showing)
        return;
    // One source for each table column and for the tax class: the column chosen last takes it
    // from any other.
    const int chosen = m_columns.at(fileColumn)->currentData().toInt();
    if (chosen >= 0) {
        m_showing = true;
        for (int i = 0; i < m_columns.size(); ++i) {
            if (i != fileColumn && m_columns.at(i)->currentData().toInt() == chosen)
                m_columns.at(i)->setCurrentIndex(0);
        }
        m_showing = false;
    }
    m_import->setEnabled(fillsAnyColumn(choice().mapping));
    showPreview();
}

ImportChoice ImportRowsDialog::choice() const
{
    ImportChoice choice;
    choice.firstLineIsHeader = m_header->isChecked();
    choice.leaveOutFlagged = m_flagged->currentData().toBool();
    for (int i = 0; i < m_columns.size(); ++i) {
        const int column = m_columns.at(i)->currentData().toInt();
        if (column == TaxClassChoice)
            choice.taxColumn = i;
        const bool table = column >= 0 && column < ColumnCount;
        choice.mapping.append(table ? std::optional<Column>(static_cast<Column>(column)) : std::nullopt);
    }
    return choice;
}

void ImportRowsDialog::setColumn(int fileColumn, std::optional<Column> column)
{
    if (fileColumn >= 0 && fileColumn < m_columns.size())
        m_columns.at(fileColumn)->setCurrentIndex(column ? static_cast<int>(*column) + 1 : 0);
}

void ImportRowsDialog::setTaxColumn(int fileColumn)
{
    if (fileColumn >= 0 && fileColumn < m_columns.size())
        m_columns.at(fileColumn)->setCurrentIndex(m_columns.at(fileColumn)->findData(TaxClassChoice));
}

void ImportRowsDialog::setFirstLineIsHeader(bool header)
{
    m_header->setChecked(header);
}

void ImportRowsDialog::setLeaveOutFlagged(bool leaveOut)
{
    m_flagged->setCurrentIndex(m_flagged->findData(leaveOut));
}

void setImportChooser(ImportChooser chooser)
{
    chooserSlot() = std::move(chooser);
}

std::optional<ImportChoice> chooseImportColumns(QWidget *parent, const CsvFile &file, const QString &fileName)
{
    if (chooserSlot())
        return chooserSlot()(parent, file, fileName);
    ImportRowsDialog dialog(parent, file, fileName);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace seikyu
