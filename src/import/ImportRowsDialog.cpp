#include "import/ImportRowsDialog.h"

#include "import/ColumnGuess.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
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
    m_preview->setColumnCount(file.columnCount);
    m_preview->verticalHeader()->setDefaultSectionSize(24);
    layout->addWidget(m_preview, 1);
    for (int i = 0; i < file.columnCount; ++i) {
        auto *combo = new QComboBox(m_preview);
        combo->setObjectName(QStringLiteral("importColumn%1").arg(i + 1));
        combo->setAccessibleName(tr("Table column for column %1").arg(i + 1));
        combo->addItem(tr("(not imported)"), -1);
        for (int c = 0; c < ColumnCount; ++c)
            combo->addItem(columnTitle(static_cast<Column>(c)), c);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i] { columnChosen(i); });
        m_columns.append(combo);
    }
    // The choosers stay in the first line while the preview below them changes.
    m_preview->setRowCount(1);
    for (int i = 0; i < file.columnCount; ++i)
        m_preview->setCellWidget(0, i, m_columns.at(i));

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
        if (header) {
            if (std::optional<ColumnMapping> named = mappingFromHeader(m_file.table.records.constFirst().fields))
                showMapping(*named);
        } else {
            showMapping(mappingFromContent(m_file.table.records).value_or(tableOrderMapping(m_file.columnCount)));
        }
        showPreview();
    });
    showMapping(file.proposedMapping());
    showPreview();
}

void ImportRowsDialog::showPreview()
{
    const bool header = m_header->isChecked();
    const QList<TextRecord> &records = m_file.table.records;
    const qsizetype first = header ? 1 : 0;
    const int shown = static_cast<int>(std::min<qsizetype>(PreviewLines, records.size() - first));
    m_preview->setRowCount(shown + 1);
    QStringList titles;
    for (int c = 0; c < m_file.columnCount; ++c) {
        const QStringList &names = records.constFirst().fields;
        titles.append(header && c < names.size() ? names.at(c) : QString::number(c + 1));
    }
    m_preview->setHorizontalHeaderLabels(titles);
    QStringList lines{tr("Into")};
    for (int r = 0; r < shown; ++r) {
        const TextRecord &record = records.at(first + r);
        lines.append(QString::number(record.line));
        for (int c = 0; c < m_file.columnCount; ++c) {
            auto *item = new QTableWidgetItem(c < record.fields.size() ? record.fields.at(c) : QString());
            m_preview->setItem(r + 1, c, item);
        }
    }
    m_preview->setVerticalHeaderLabels(lines);
    m_preview->resizeColumnsToContents();
}

void ImportRowsDialog::showMapping(const ColumnMapping &mapping)
{
    m_showing = true;
    for (int i = 0; i < m_columns.size(); ++i) {
        const std::optional<Column> column = i < mapping.size() ? mapping.at(i) : std::nullopt;
        m_columns.at(i)->setCurrentIndex(column ? static_cast<int>(*column) + 1 : 0);
    }
    m_showing = false;
    m_import->setEnabled(fillsAnyColumn(choice().mapping));
}

void ImportRowsDialog::columnChosen(int fileColumn)
{
    if (m_showing)
        return;
    // One source for each table column: the column chosen last takes it from any other.
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
}

ImportChoice ImportRowsDialog::choice() const
{
    ImportChoice choice;
    choice.firstLineIsHeader = m_header->isChecked();
    for (const QPointer<QComboBox> &combo : m_columns) {
        const int column = combo->currentData().toInt();
        choice.mapping.append(column >= 0 ? std::optional<Column>(static_cast<Column>(column)) : std::nullopt);
    }
    return choice;
}

void ImportRowsDialog::setColumn(int fileColumn, std::optional<Column> column)
{
    if (fileColumn >= 0 && fileColumn < m_columns.size())
        m_columns.at(fileColumn)->setCurrentIndex(column ? static_cast<int>(*column) + 1 : 0);
}

void ImportRowsDialog::setFirstLineIsHeader(bool header)
{
    m_header->setChecked(header);
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
