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

/// How the user wants a file's rows taken into the table.
struct ImportChoice
{
    ColumnMapping mapping;
    bool firstLineIsHeader = false;
};

/// The preview of a file of rows (or of pasted cells) before they are added: its first lines, and
/// above each of its columns the table column it goes into (proposed from the header's names, else
/// from what the cells hold, else in the table's order). A table column is filled from one column
/// at most.
class ImportRowsDialog : public QDialog
{
    Q_OBJECT

public:
    /// How many of the file's lines the preview shows.
    static constexpr int PreviewLines = 20;

    /// Without a file name, the rows are cells being pasted.
    ImportRowsDialog(QWidget *parent, const CsvFile &file, const QString &fileName);

    ImportChoice choice() const;
    /// Sets the table column one of the file's columns goes into (nothing: left out).
    void setColumn(int fileColumn, std::optional<Column> column);
    void setFirstLineIsHeader(bool header);

private:
    void showPreview();
    void columnChosen(int fileColumn);
    void showMapping(const ColumnMapping &mapping);

    const CsvFile &m_file;
    QPointer<QCheckBox> m_header;
    QPointer<QTableWidget> m_preview;
    QPointer<QPushButton> m_import;
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
