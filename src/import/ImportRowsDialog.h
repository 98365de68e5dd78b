#pragma once

#include "import/ColumnMapping.h"
#include "import/CsvFile.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace seikyu {

/// The preview of a file of rows (or of pasted cells) before they are added: its first lines, and
/// above each of its columns the table column it goes into, or the tax class (proposed from the
/// header's names, else from what the cells hold, else in the table's order). A table column is
/// filled from one column at most. Beside the lines, each row's tax class and what needs a look in
/// it; below them, the columns left out and the choice to take the rows that need a look as written
/// or leave them out.
class ImportRowsDialog : public QDialog
{
    Q_OBJECT

public:
    /// How many of the file's first lines the preview shows, and how many further rows that need a
    /// look at most.
    static constexpr int PreviewLines = 20;
    /// How many of the file's rows are read and checked while the user chooses, so that each choice
    /// is answered at once even for the largest file; the import itself checks every row.
    static constexpr int CheckedRows = 10000;

    /// Without a file name, the rows are cells being pasted.
    ImportRowsDialog(QWidget *parent, const CsvFile &file, const QString &fileName);

    ImportChoice choice() const;
    /// Sets the table column one of the file's columns goes into (nothing: left out).
    void setColumn(int fileColumn, std::optional<Column> column);
    /// Makes one of the file's columns give the rows' tax class.
    void setTaxColumn(int fileColumn);
    void setFirstLineIsHeader(bool header);
    void setLeaveOutFlagged(bool leaveOut);

private:
    void showPreview();
    void columnChosen(int fileColumn);
    void showMapping(const ColumnMapping &mapping, std::optional<int> taxColumn);

    const CsvFile &m_file;
    QPointer<QCheckBox> m_header;
    QPointer<QTableWidget> m_preview;
    QPointer<QPushButton> m_import;
    QPointer<QLabel> m_notes;
    QPointer<QLabel> m_flaggedCount;
    QPointer<QComboBox> m_flagged;
    QList<QPointer<QComboBox>> m_columns;
    bool m_showing = false;
};

/// Asks how a file's columns go into the table; nothing when the user cancels.
using ImportChooser =
    std::function<std::optional<ImportChoice>(QWidget *parent, const CsvFile &file, const QString &fileName)>;
/// Replaces the question (tests answer it themselves); an empty chooser brings the dialog back.
void setImportChooser(ImportChooser chooser);
std::optional<ImportChoice> chooseImportColumns(QWidget *parent, const CsvFile &file, const QString &fileName);

} // namespace seikyu
