#pragma once

#include "app/RecoveryStore.h"
#include "base/Result.h"
#include "invoice/Invoice.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

class QTimer;

namespace seikyu {

class Document;

/// The document machinery: new, open, save, save as, autosave in place, revert, close and quit,
/// and the recent files. Every write is atomic, so a failed save leaves the previous file intact.
class DocumentController : public QObject
{
    Q_OBJECT

public:
    explicit DocumentController(QObject *parent = nullptr);
    ~DocumentController() override;

    /// The file extension of invoice files.
    static QString extension() { return QStringLiteral("seikyu"); }
    static QString fileFilter();

    Document *newDocument();
    /// Opens a file in a new window, or brings its window forward when it is already open.
    /// A file that is not an invoice is reported and opens nothing.
    Document *openFile(const QString &path);
    /// Asks for files and opens them.
    void openWithDialog(QWidget *parent);

    bool save(Document *document);
    bool saveAs(Document *document);
    /// Writes the document to the path atomically; on failure the reason is returned.
    Result<void> writeTo(Document *document, const QString &path);
    /// Revert to Saved: the page and the file go back to the version last opened or explicitly
    /// saved (autosave does not make a version), as one step that Undo takes back.
    bool revert(Document *document);
    /// Opens next month's invoice made from this one, as a new untitled and edited document
    /// (asking first for its date, a month after the original's by default, and whether it keeps
    /// the sums); nothing on Cancel. The original is not touched.
    Document *duplicate(Document *original);
    /// Make Delivery Slip, Make Invoice, Make Receipt: opens the document of `kind` made from this
    /// one (see nextDocument) as a new untitled and edited document dated today, numbered in its
    /// kind's sequence. The original is not touched; nothing when it cannot be read.
    Document *makeNext(Document *original, DocumentKind kind);

    /// Asks for a customer and a closing period and opens their month's statement, made from the
    /// ledger, as a new untitled and edited invoice numbered in the invoices' sequence; `original`
    /// gives the issuer when no slip's file can. Nothing when the user cancels.
    Document *makeMonthly(Document *original);

    /// Opens a document made of `invoice` (through its file's form) as new, untitled and edited,
    /// numbered in its kind's sequence.
    Document *openMade(const Invoice &invoice);

    /// Closes the document's window, asking about unsaved changes first; false when it stays open.
    bool close(Document *document);
    /// Closes every window (asking for each); false when one stays open.
    bool closeAll();

    QList<Document *> documents() const;
    Document *documentForPath(const QString &path) const;

    QStringList recentFiles() const;
    void clearRecentFiles();

    /// How long after a change a document with a file saves itself.
    void setAutosaveDelay(int milliseconds) { m_autosaveDelay = milliseconds; }
    int autosaveDelay() const { return m_autosaveDelay; }

    /// Reopens the invoices that a run which did not end cleanly left unsaved, as untitled, edited
    /// documents; the number reopened.
    int recoverDocuments();

signals:
    void recentFilesChanged();
    void documentOpened(seikyu::Document *document);

private:
    Document *adopt(std::unique_ptr<Document> document);
    int freeUntitledNumber() const;
    bool canClose(Document *document);
    void scheduleAutosave(Document *document);
    void autosave(Document *document);
    void addRecentFile(const QString &path);
    void updateTitle(Document *document);
    void discard(Document *document);
    void dropRecoveryCopy(Document *document);

    QList<QPointer<Document>> m_documents;
    QHash<Document *, QTimer *> m_autosaveTimers;
    QHash<Document *, QString> m_recoveryIds;
    RecoveryStore m_recovery;
    int m_autosaveDelay = 1500;
};

} // namespace seikyu
