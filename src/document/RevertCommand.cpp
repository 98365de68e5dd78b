#include "document/RevertCommand.h"

#include "document/Document.h"
#include "invoice/InvoiceFile.h"

#include <QCoreApplication>

namespace seikyu {

RevertCommand::RevertCommand(Document *document, QByteArray before, TableState tableBefore, QByteArray saved)
    : m_document(document), m_before(std::move(before)), m_tableBefore(std::move(tableBefore)),
      m_saved(std::move(saved))
{
    setText(QCoreApplication::translate("Document", "Revert to Saved"));
}

void RevertCommand::redo()
{
    if (!m_document)
        return;
    m_document->showFileContents(m_saved);
    if (m_tableAfter)
        m_document->restoreTableState(*m_tableAfter);
    else
        m_tableAfter = m_document->tableState();
}

void RevertCommand::undo()
{
    if (!m_document)
        return;
    m_document->showFileContents(m_before);
    m_document->restoreTableState(m_tableBefore);
}

bool Document::revertToSaved(const QByteArray &savedBytes, QString *error)
{
    if (const Result<Invoice> read = readInvoiceBytes(savedBytes); !read) {
        if (error)
            *error = read.message();
        return false;
    }
    QByteArray before = dataOfType();
    if (before == savedBytes)
        return true; // the page is the saved version already: nothing to take back
    m_undoStack.push(new RevertCommand(this, std::move(before), tableState(), savedBytes));
    return true;
}

} // namespace seikyu
