// Rows that come from elsewhere: cells pasted from a spreadsheet and the rows of a CSV file, each
// added to the table as one undo step.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/TablePanel.h"
#include "import/ClipboardRows.h"
#include "import/CsvFile.h"
#include "import/ImportRowsDialog.h"
#include "import/InsertRowsCommand.h"
#include "import/RowChecks.h"
#include "import/RowConversion.h"
#include "import/SkippedLines.h"
#include "invoice/ItemTableModel.h"
#include "sections/UnkeptTexts.h"
#include "table/SumsRows.h"
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

/// What the closing message says beside the number of rows: the rows that needed a look, as
/// taken or left out, the lines skipped, the columns left out and the tax class of the rows, which
/// an invoice at 8 % throughout does not tell apart.
QString rowsSummary(const ImportedRows &rows, const QList<SkippedLine> &flagged, bool flaggedLeftOut, int taxRate)
{
    QStringList parts{skippedLinesText(flaggedLeftOut ? Document::tr("Rows left out, as they need a look:")
                                                      : Document::tr("Rows taken as written, to be checked:"),
                                       flagged),
                      skippedLinesText(Document::tr("Lines skipped:"), rows.skipped)};
    if (!rows.rows.isEmpty())
        parts.append(readingNotes(rows));
    if (!rows.rows.isEmpty() && rows.taxClassRead && taxRate != StandardRate)
        parts.append(Document::tr("This invoice is taxed at 8 % throughout, the rate before October 2019, so the "
                                  "rows' tax classes count only once its rate is 10 % (Rate in the Items panel)."));
    parts.removeAll(QString());
    return parts.join(QStringLiteral("\n\n"));
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

int Document::addRowsAt(int index, const QList<ImportedRow> &imported, const QString &actionName)
{
    if (imported.isEmpty())
        return 0;
    QStringList texts;
    for (const ImportedRow &row : imported) {
        for (const CellValue &cell : row.cells)
            texts.append(cell.toString());
    }
    if (refusesUnkeptText(m_window.get(), texts))
        return 0; // the file would be refused when opened again
    QList<RowPtr> rows;
    rows.reserve(imported.size());
    for (const ImportedRow &row : imported) {
        rows.append(std::make_shared<ItemRow>());
        rows.last()->setCells(row.cells);
        rows.last()->setTaxClass(row.taxClass);
    }
    m_model->pushTableStep(new InsertRowsCommand(m_model->table(), index, rows, actionName));
    return static_cast<int>(rows.size());
}

bool Document::pasteRows(const QString &text)
{
    if (!isTableText(text))
        return false;
    const CsvFile pasted = clipboardTable(text);
    if (pasted.table.records.isEmpty())
        return false;
    QWidget *parent = gridCtrl && gridCtrl->isVisible() ? static_cast<QWidget *>(gridCtrl.get()) : m_window.get();
    ImportChoice choice = pasted.proposedChoice();
    const bool asked = !columnsAreEvident(pasted);
    if (asked) {
        const std::optional<ImportChoice> chosen = chooseImportColumns(parent, pasted, QString());
        if (!chosen)
            return false;
        choice = *chosen;
    }
    ImportedRows imported =
        rowsFromRecords(pasted.table.records, choice.mapping, choice.firstLineIsHeader, choice.taxColumn);
    imported.skipped.append(pasted.table.skipped);
    const QList<SkippedLine> flagged = imported.flagged();
    bool leaveOut = choice.leaveOutFlagged;
    // A paste whose columns were evident had no preview: the rows that need a look are asked about
    // before anything changes.
    if (!asked && !flagged.isEmpty() && !imported.rows.isEmpty()) {
        const int answer = Prompter::instance().askToChoose(
            parent, tr("Some of the pasted rows need a look."),
            skippedLinesText(tr("Each can be pasted as written or left out:"), flagged),
            {tr("Paste as Written"), tr("Leave Them Out")});
        if (answer < 0)
            return false;
        leaveOut = answer == 1;
    }
    if (leaveOut)
        imported = imported.withoutFlagged();
    // The table view makes its first cell, the header row, current when it gets the focus with no
    // row chosen; that is no choice to paste at the top.
    int current = grid() ? grid()->selectionModel()->currentIndex().row() : -1;
    if (current == 0 && !grid()->selectionModel()->isRowSelected(0))
        current = -1;
    const int at = insertionIndex(m_model->table()->rows(), current);
    const int added = addRowsAt(at, imported.rows, QCoreApplication::translate("Document", PasteRowsAction));
    if (added > 0 && grid()) {
        // A second paste follows the first.
        const QModelIndex last =
            m_model->table()->index(at + added - 1, std::max(0, grid()->selectionModel()->currentIndex().column()));
        grid()->selectionModel()->setCurrentIndex(last, QItemSelectionModel::NoUpdate);
    }
    // A few cells without a header paste quietly; a sheet that names its columns says which tax
    // class its rows took, and a paste that lost something on the way says what.
    const bool classesInEffect = imported.taxClassRead && m_model->taxRate() == StandardRate;
    if (added > 0 && (!imported.skipped.isEmpty() || !imported.unplacedColumns.isEmpty() ||
                      (imported.namedColumns && !classesInEffect)))
        Prompter::instance().inform(parent, tr("%1 rows were pasted.").arg(added),
                                    rowsSummary(imported, flagged, leaveOut, m_model->taxRate()));
    return added > 0;
}

void Document::gridPaste(QObject *)
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    if (isTableText(text)) {
        pasteRows(text);
        return;
    }
    // Text for one cell: the current cell takes it as if it were typed.
    const QModelIndex current = grid() ? grid()->selectionModel()->currentIndex() : QModelIndex();
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
    const QString name = QFileInfo(path).fileName();
    const Result<CsvFile> read = readCsvFile(path);
    if (!read) {
        Prompter::instance().alert(m_window.get(), tr("No rows were imported from “%1”.").arg(name), read.message());
        return 0;
    }
    const CsvFile &file = *read;
    const std::optional<ImportChoice> choice = chooseImportColumns(m_window.get(), file, name);
    if (!choice)
        return 0;
    ImportedRows imported =
        rowsFromRecords(file.table.records, choice->mapping, choice->firstLineIsHeader, choice->taxColumn);
    // Damaged lines and lines without values, in the order of the file.
    imported.skipped.append(file.table.skipped);
    std::stable_sort(imported.skipped.begin(), imported.skipped.end(),
                     [](const SkippedLine &a, const SkippedLine &b) { return a.line < b.line; });
    const QList<SkippedLine> flagged = imported.flagged();
    if (choice->leaveOutFlagged)
        imported = imported.withoutFlagged();
    const QString summary = rowsSummary(imported, flagged, choice->leaveOutFlagged, m_model->taxRate());
    if (imported.rows.isEmpty()) {
        Prompter::instance().alert(m_window.get(), tr("No rows were imported from “%1”.").arg(name), summary);
        return 0;
    }
    // Imported rows follow the table's items, above its sums rows when it is totalled.
    const int added = addRowsAt(insertionIndex(m_model->table()->rows(), -1), imported.rows,
                                QCoreApplication::translate("Document", ImportRowsAction));
    if (added == 0)
        return 0; // refused, and said why
    Prompter::instance().inform(m_window.get(), tr("%1 rows were added from “%2”.").arg(added).arg(name), summary);
    return added;
}

} // namespace seikyu
