// Rows that come from elsewhere: cells pasted from a spreadsheet and the rows of a CSV file, each
// added to the table as one undo step.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "import/ClipboardRows.h"
#include "import/CsvFile.h"
#include "import/ImportRowsDialog.h"
#include "import/InsertRowsCommand.h"
#include "import/RowConversion.h"
#include "sections/UnkeptTexts.h"
#include "table/ItemTableModel.h"
#include "widgets/Prompter.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTableView>

namespace seikyu {

namespace {

// The undo steps' action names.
const char *const PasteRowsAction = QT_TRANSLATE_NOOP("Document", "Paste Rows");
const char *const ImportRowsAction = QT_TRANSLATE_NOOP("Document", "Import Rows");

/// How many skipped lines the closing message lists one by one.
constexpr int SkippedLinesListed = 20;

QString skippedLinesText(const QList<SkippedLine> &skipped)
{
    if (skipped.isEmpty())
        return {};
    QStringList lines{Document::tr("Lines skipped:")};
    for (qsizetype i = 0; i < skipped.size() && i < SkippedLinesListed; ++i)
        lines.append(Document::tr("Line %1: %2").arg(skipped.at(i).line).arg(skipped.at(i).reason));
    if (skipped.size() > SkippedLinesListed)
        lines.append(Document::tr("… and %1 more lines.").arg(skipped.size() - SkippedLinesListed));
    return lines.join(u'\n');
}

/// A text for one cell as spreadsheets put it on the clipboard: without the line break they end
/// a copied cell with.
QString oneCellText(QString text)
{
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

} // namespace

int Document::addRowsAt(int index, const QList<RowCells> &cells, const QString &actionName)
{
    if (!bank || cells.isEmpty())
        return 0;
    QStringList texts;
    for (const RowCells &row : cells) {
        for (const CellValue &cell : row)
            texts.append(cell.toString());
    }
    if (refusesUnkeptText(m_window.get(), texts))
        return 0; // the file would be refused when opened again
    QList<RowPtr> rows;
    rows.reserve(cells.size());
    for (const RowCells &row : cells) {
        rows.append(std::make_shared<ItemRow>());
        rows.last()->setCells(row);
    }
    pushTableStep(new InsertRowsCommand(bank, index, rows, actionName));
    return static_cast<int>(rows.size());
}

bool Document::pasteRows(const QString &text)
{
    if (!bank || !isTableText(text))
        return false;
    const CsvFile pasted = clipboardTable(text);
    if (pasted.table.records.isEmpty())
        return false;
    ImportChoice choice{pasted.proposedMapping(), pasted.header.has_value()};
    if (!columnsAreEvident(pasted)) {
        QWidget *parent = gridCtrl && gridCtrl->isVisible() ? static_cast<QWidget *>(gridCtrl.get()) : m_window.get();
        const std::optional<ImportChoice> asked = chooseImportColumns(parent, pasted, QString());
        if (!asked)
            return false;
        choice = *asked;
    }
    const ImportedRows imported = rowsFromRecords(pasted.table.records, choice.mapping, choice.firstLineIsHeader);
    // The table view makes its first cell, the header row, current when it gets the focus with no
    // row chosen; that is no choice to paste at the top.
    int current = grid ? grid->selectionModel()->currentIndex().row() : -1;
    if (current == 0 && !grid->selectionModel()->isRowSelected(0))
        current = -1;
    const int at = insertionIndex(bank->rows(), current);
    const int added = addRowsAt(at, imported.rows, QCoreApplication::translate("Document", PasteRowsAction));
    if (added > 0 && grid) {
        // A second paste follows the first.
        const QModelIndex last =
            bank->index(at + added - 1, std::max(0, grid->selectionModel()->currentIndex().column()));
        grid->selectionModel()->setCurrentIndex(last, QItemSelectionModel::NoUpdate);
    }
    return added > 0;
}

void Document::gridPaste(QObject *)
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || !bank)
        return;
    if (isTableText(text)) {
        pasteRows(text);
        return;
    }
    // Text for one cell: the current cell takes it as if it were typed.
    const QModelIndex current = grid ? grid->selectionModel()->currentIndex() : QModelIndex();
    if (!current.isValid() || current.row() < 1)
        return;
    editCell(current.row(), static_cast<Column>(current.column()), oneCellText(text));
}

void Document::importRows(QObject *)
{
    const QString path = Prompter::instance().openFileName(m_window.get(), tr("Import Rows"),
                                                           tr("CSV and text files (*.csv *.txt *.tsv);;All files (*)"));
    if (!path.isEmpty())
        importRowsFrom(path);
}

int Document::importRowsFrom(const QString &path)
{
    if (!bank)
        return 0;
    const QString name = QFileInfo(path).fileName();
    const CsvFile file = readCsvFile(path);
    if (!file.error.isEmpty()) {
        Prompter::instance().alert(m_window.get(), tr("No rows were imported from “%1”.").arg(name), file.error);
        return 0;
    }
    const std::optional<ImportChoice> choice = chooseImportColumns(m_window.get(), file, name);
    if (!choice)
        return 0;
    ImportedRows imported = rowsFromRecords(file.table.records, choice->mapping, choice->firstLineIsHeader);
    // Damaged lines and lines without values, in the order of the file.
    imported.skipped.append(file.table.skipped);
    std::stable_sort(imported.skipped.begin(), imported.skipped.end(),
                     [](const SkippedLine &a, const SkippedLine &b) { return a.line < b.line; });
    if (imported.rows.isEmpty()) {
        Prompter::instance().alert(m_window.get(), tr("No rows were imported from “%1”.").arg(name),
                                   skippedLinesText(imported.skipped));
        return 0;
    }
    // Imported rows follow the table's items, above its sums rows when it is totalled.
    const int added = addRowsAt(insertionIndex(bank->rows(), -1), imported.rows,
                                QCoreApplication::translate("Document", ImportRowsAction));
    if (added == 0)
        return 0; // refused, and said why
    Prompter::instance().inform(m_window.get(), tr("%1 rows were added from “%2”.").arg(added).arg(name),
                                skippedLinesText(imported.skipped));
    return added;
}

} // namespace seikyu
