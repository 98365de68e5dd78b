#pragma once

#include "invoice/TableState.h"

#include <QByteArray>
#include <QPointer>
#include <QUndoCommand>
#include <optional>

namespace seikyu {

class Document;

/// Revert to Saved as one undoable step: the page as the saved file has it, and back to the page
/// as it was before, each shown from the file's own form. The table's row objects come back too,
/// so the undo records on either side of this step still find their rows.
class RevertCommand : public QUndoCommand
{
public:
    RevertCommand(Document *document, QByteArray before, TableState tableBefore, QByteArray saved);

    void redo() override;
    void undo() override;

private:
    QPointer<Document> m_document;
    QByteArray m_before;
    TableState m_tableBefore;
    QByteArray m_saved;
    /// The table the first revert made, given back by every later Redo.
    std::optional<TableState> m_tableAfter;
};

} // namespace seikyu
