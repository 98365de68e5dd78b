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
    // Both were read as invoices before the step was made (the page's own bytes, the saved file's
    // checked by revertToSaved): they read again.
    static_cast<void>(m_document->showFileContents(m_saved));
    if (m_tableAfter)
        m_document->model()->restoreTableState(*m_tableAfter);
    else
        m_tableAfter = m_document->model()->tableState();
}

void RevertCommand::undo()
{
    if (!m_document)
        return;
    static_cast<void>(m_document->showFileContents(m_before));
    m_document->model()->restoreTableState(m_tableBefore);
}

Result<void> Document::revertToSaved(const QByteArray &savedBytes)
{
    if (const Result<Invoice> read = readInvoiceBytes(savedBytes); !read)
        return read.fault();
    QByteArray before = dataOfType();
    if (before == savedBytes)
        return {}; // the page is the saved version already: nothing to take back
    m_model->undoStack()->push(new RevertCommand(this, std::move(before), m_model->tableState(), savedBytes));
    return {};
}

} // namespace seikyu
