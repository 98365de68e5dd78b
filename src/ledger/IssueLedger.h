#pragma once

#include "document/InvoiceFile.h"
#include "ledger/LedgerEntry.h"
#include "ledger/LedgerStore.h"
#include "ledger/SharedLedger.h"

#include <QString>
#include <memory>
#include <optional>

namespace seikyu {

/// The user's ledger of issued invoices: one SQLite file in the application's data folder, with
/// the archive of the PDFs sent in a folder beside it. One per process, opened when first needed.
///
/// Nothing here ever stands in the way of an export or a print: a ledger that cannot be written
/// (read-only folder, full disk) is reported once per run, and a damaged file is moved aside
/// (never deleted) and a new ledger started, the archive kept.
class IssueLedger
{
public:
    static IssueLedger &instance();
    /// The ledger at another place (tests, the benchmark); closes the one open.
    void setFolder(const QString &folder);

    /// Closes the database (it opens again when next needed).
    void close();

    QString folder() const { return m_folder; }
    QString databasePath() const;
    QString archiveFolder() const;
    /// The newest entry of each ledger this computer wrote or saw, beside the archive.
    QString anchorPath() const;

    /// The open store, opening it when needed; nothing (with the reason) when it cannot be used.
    LedgerStore *store(QString *error = nullptr);

    /// Records an issued invoice: the page's facts, the source file and, for a PDF, its hash and a
    /// copy in the archive. Returns what the user should be told: the first failure of this run,
    /// or that a damaged ledger was put aside; nothing otherwise (later failures are not repeated).
    std::optional<QString> recordIssue(const InvoicePage &page, const QString &sourcePath, IssueChannel channel,
                                       const QString &pdfPath);
    /// The entry of the last successful recordIssue (tests).
    std::optional<LedgerEntry> lastRecorded() const { return m_lastRecorded; }

    /// A message to tell the user now, at most once per run for failures.
    std::optional<QString> takeMessage();

    /// The office's ledger when the preference or SEIKYU_LEDGER puts it on a server, else null.
    /// Then store() is the server's store, null while the server does not answer.
    SharedLedger *shared();
    /// The outbox file of a shared ledger, in the ledger's folder.
    QString outboxPath() const;
    /// A command line waits for the shared ledger's server as long as libpq does; a window never
    /// waits on a server that does not answer.
    void setWaitsForServer(bool waits)
    {
        m_waitsForServer = waits;
        if (m_shared)
            m_shared->watch().setPatient(waits);
    }

    /// Verify Ledger on `store`: every entry's hash chain, and the archived PDFs this computer
    /// holds. On a shared ledger those are the ones it issued (or finds in its archive); the
    /// others are kept on the computers that issued them.
    LedgerCheck verify(LedgerStore &store, QString *error = nullptr);

private:
    IssueLedger();
    bool open(QString *error);
    /// Copies the PDF into the archive under its tax-agency name; the name and hash, or nothing.
    bool archivePdf(const QString &pdfPath, LedgerEntry &entry, QString *error);
    void failed(const QString &reason);
    /// Tells the user once that opening `store` sealed the entries an older version recorded.
    void tellSealed(LedgerStore &store);
    /// recordIssue for a shared ledger: recorded on the server, or kept in the outbox.
    std::optional<QString> recordShared(LedgerEntry entry, const QString &pdfPath);
    /// Adds what the shared ledger's server refused to what the user is told next.
    void tellRefused(const QStringList &refused);

    std::unique_ptr<SharedLedger> m_shared;
    QString m_sharedText; ///< the connection text m_shared was made for
    bool m_waitsForServer = false;

    QString m_folder;
    std::unique_ptr<LedgerStore> m_store;
    std::optional<LedgerEntry> m_lastRecorded;
    QString m_pending; ///< what the user has yet to be told
    bool m_toldFailure = false;
};

} // namespace seikyu
