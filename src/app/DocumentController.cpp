#include "app/DocumentController.h"

#include "app/MainMenu.h"
#include "app/PageZoom.h"
#include "document/AtomicWrite.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/WriteFailure.h"
#include "invoice/InvoiceFile.h"
#include "kinds/NextDocument.h"
#include "ledger/IssueLedger.h"
#include "ledger/MonthlyInvoiceDialog.h"
#include "ledger/ReceiptOfPayment.h"
#include "sections/FreelancePreferences.h"
#include "sections/RowDates.h"
#include "widgets/Prompter.h"
#include "widgets/WindowFront.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <QUuid>

namespace seikyu {

namespace {
const QString recentKey = QStringLiteral("recentFiles");
constexpr int MaxRecentFiles = 10;

QString canonical(const QString &path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}
} // namespace

DocumentController::DocumentController(QObject *parent) : QObject(parent) {}

DocumentController::~DocumentController()
{
    for (const QPointer<Document> &document : std::as_const(m_documents))
        delete document.data();
}

QString DocumentController::fileFilter()
{
    return tr("Invoices (*.%1 *.json)").arg(extension()) + QStringLiteral(";;") + tr("All Files (*)");
}

Document *DocumentController::newDocument()
{
    auto document = std::make_unique<Document>();
    document->windowControllerDidLoadNib();
    return adopt(std::move(document));
}

Document *DocumentController::openFile(const QString &path)
{
    if (Document *open = documentForPath(path)) {
        bringToFront(open->window());
        return open;
    }
    auto document = std::make_unique<Document>();
    const QString name = QFileInfo(path).fileName();
    const Result<QByteArray> bytes = readInvoiceFile(path);
    if (!bytes) {
        Prompter::instance().alert(nullptr, tr("“%1” cannot be opened because it could not be read.").arg(name),
                                   bytes.message());
        return nullptr;
    }
    if (const Result<void> read = document->readFromData(*bytes); !read) {
        Prompter::instance().alert(
            nullptr, tr("“%1” cannot be opened because it is damaged or is not a Seikyu invoice.").arg(name),
            read.message());
        return nullptr;
    }
    document->setFilePath(canonical(path));
    document->windowControllerDidLoadNib();
    addRecentFile(document->filePath());
    // A version kept already is a crashed run's: the file has its autosaved edits since.
    if (!m_recovery.savedVersion(document->filePath()))
        m_recovery.writeSavedVersion(document->filePath(), *bytes);
    return adopt(std::move(document));
}

void DocumentController::openWithDialog(QWidget *parent)
{
    const QStringList paths = Prompter::instance().openFileNames(parent, tr("Open Invoice"), fileFilter());
    for (const QString &path : paths)
        openFile(path);
}

Document *DocumentController::adopt(std::unique_ptr<Document> owned)
{
    Document *document = owned.release();
    document->setParent(this);
    if (document->filePath().isEmpty())
        document->setUntitledNumber(freeUntitledNumber());
    m_documents.append(document);
    InvoiceWindow *window = document->window();
    MainMenu::install(window, document, this);
    document->setZoom(preferredZoom(window));
    window->fitToPage();
    window->setCloseGuard([this, document] { return canClose(document); });
    connect(window, &InvoiceWindow::closed, this, [this, document] { discard(document); });
    connect(document, &Document::editedChanged, this, [this, document](bool edited) {
        updateTitle(document);
        if (!edited)
            dropRecoveryCopy(document);
    });
    connect(document, &Document::filePathChanged, this, [this, document] { updateTitle(document); });
    connect(document, &Document::changed, this, [this, document] { scheduleAutosave(document); });
    updateTitle(document);
    window->show();
    emit documentOpened(document);
    return document;
}

int DocumentController::freeUntitledNumber() const
{
    // As desktop applications number them: "Untitled", "Untitled 2", …, the lowest number that no
    // open untitled window shows, so a question on closing says which invoice it means.
    QList<int> taken;
    for (Document *open : documents()) {
        if (open->filePath().isEmpty())
            taken.append(open->untitledNumber());
    }
    int number = 1;
    while (taken.contains(number))
        ++number;
    return number;
}

void DocumentController::updateTitle(Document *document)
{
    InvoiceWindow *window = document->window();
    window->setWindowTitle(QStringLiteral("%1[*] — %2").arg(document->displayName(), QApplication::applicationName()));
    window->setWindowModified(document->isEdited());
    window->setWindowFilePath(document->filePath());
}

Result<void> DocumentController::writeTo(Document *document, const QString &path)
{
    return writeFileAtomically(path, document->dataOfType());
}

bool DocumentController::save(Document *document)
{
    if (document->filePath().isEmpty())
        return saveAs(document);
    if (const Result<void> written = writeTo(document, document->filePath()); !written) {
        Prompter::instance().alert(document->window(), tr("“%1” could not be saved.").arg(document->displayName()),
                                   writeFailureMessage(document->filePath(), written.message()));
        return false;
    }
    document->updateChangeCount(Document::ChangeCleared);
    m_recovery.writeSavedVersion(document->filePath(), document->dataOfType());
    return true;
}

bool DocumentController::saveAs(Document *document)
{
    QString proposed;
    if (document->filePath().isEmpty())
        proposed = QDir::home().filePath(document->filename() + QLatin1Char('.') + extension());
    else
        proposed = document->filePath();
    const QString path =
        Prompter::instance().saveFileName(document->window(), tr("Save Invoice"), proposed, fileFilter(), extension());
    if (path.isEmpty())
        return false;
    if (const Result<void> written = writeTo(document, path); !written) {
        Prompter::instance().alert(document->window(), tr("“%1” could not be saved.").arg(QFileInfo(path).fileName()),
                                   writeFailureMessage(path, written.message()));
        return false;
    }
    m_recovery.forgetSavedVersion(document->filePath());
    document->setFilePath(canonical(path));
    document->updateChangeCount(Document::ChangeCleared);
    m_recovery.writeSavedVersion(document->filePath(), document->dataOfType());
    addRecentFile(document->filePath());
    return true;
}

bool DocumentController::revert(Document *document)
{
    if (document->filePath().isEmpty())
        return false;
    // The version last opened or saved, not the file: autosave has written the edits into that.
    QByteArray bytes = m_recovery.savedVersion(document->filePath()).value_or(QByteArray());
    QString error;
    const auto fail = [&] {
        Prompter::instance().alert(document->window(), tr("“%1” could not be reverted.").arg(document->displayName()),
                                   error);
        return false;
    };
    if (bytes.isEmpty()) {
        Result<QByteArray> read = readInvoiceFile(document->filePath());
        if (!read) {
            error = read.message();
            return fail();
        }
        bytes = std::move(*read);
    }
    if (const Result<Invoice> read = readInvoiceBytes(bytes); !read) {
        error = read.message();
        return fail();
    }
    // The file first: when it cannot be written the page stays as it is, and page and file agree.
    if (const Result<void> written = writeFileAtomically(document->filePath(), bytes); !written) {
        error = written.message();
        return fail();
    }
    if (const Result<void> reverted = document->revertToSaved(bytes); !reverted) {
        error = reverted.message();
        return fail();
    }
    document->updateChangeCount(Document::ChangeCleared);
    return true;
}

Document *DocumentController::duplicate(Document *original)
{
    if (!original)
        return nullptr;
    // Next month's invoice is dated a month after this one, not today: a month closed at its end
    // and billed a few days later keeps its rows in the month they belong to.
    const QDate from = original->invoiceDate();
    const std::optional<Prompter::DuplicateChoice> choice = Prompter::instance().askDuplicate(
        original->window(), {FreelancePreferences::duplicateKeepsSums(), FreelancePreferences::duplicateMovesRowDates(),
                             monthsLater(from, 1), from});
    if (!choice)
        return nullptr;
    FreelancePreferences::setDuplicateKeepsSums(choice->keepSums);
    FreelancePreferences::setDuplicateMovesRowDates(choice->moveRowDates);
    // Through the file's own form, so the copy holds exactly what a saved original would.
    auto document = std::make_unique<Document>();
    if (!document->readFromData(original->dataOfType()))
        return nullptr;
    document->windowControllerDidLoadNib();
    const QString unnumbered = document->startAsNextInvoice(choice->keepSums, choice->moveRowDates, choice->date);
    Document *copy = adopt(std::move(document));
    // Unsaved work: closing it asks, and a recovery copy is kept meanwhile.
    copy->updateChangeCount(Document::ChangeDone);
    if (!unnumbered.isEmpty())
        Prompter::instance().inform(copy->window(), tr("The copy has no number."), unnumbered);
    return copy;
}

Document *DocumentController::makeNext(Document *original, DocumentKind kind)
{
    if (!original)
        return nullptr;
    // Through the file's own form, as Duplicate goes, so the new document holds what a saved
    // original would.
    const Result<Invoice> source = readInvoiceBytes(original->dataOfType());
    if (!source)
        return nullptr;
    // The receipt of a paid invoice is its payment's: dated the day it was paid, stating what was
    // received, and tied to it in the ledger when issued.
    const std::optional<PaymentToAcknowledge> paid =
        kind == DocumentKind::Receipt && source->kind == DocumentKind::Invoice
            ? IssueLedger::instance().paymentToAcknowledgeOf(source->number, original->window())
            : std::nullopt;
    if (paid && paid->paid.receiptId != 0 &&
        !Prompter::instance().askToProceed(original->window(), tr("This invoice's payment already has a receipt."),
                                           tr("Make another receipt for it?"), tr("Make Receipt")))
        return nullptr;
    std::optional<Invoice> next = paid ? receiptOfPayment(*source, *paid) : std::nullopt;
    if (paid && !next)
        Prompter::instance().inform(original->window(), tr("This receipt names no payment."), partOfSeveralRatesText());
    return openMade(next.value_or(nextDocument(*source, kind, QDate::currentDate())));
}

Document *DocumentController::makeMonthly(Document *original)
{
    MonthlyRequest request;
    if (original) {
        if (const Result<Invoice> shown = readInvoiceBytes(original->dataOfType())) {
            request.base = *shown;
            request.customer = shown->customer.value_or(QString()).trimmed();
        }
    }
    const std::optional<MonthlyOutcome> made = askMonthlyInvoice(original ? original->window() : nullptr, request);
    if (!made)
        return nullptr;
    Document *opened = openMade(made->statement);
    if (opened && !made->notes.isEmpty())
        Prompter::instance().inform(opened->window(), tr("Some delivery slips are listed as the ledger recorded them."),
                                    made->notes.join(QLatin1Char('\n')));
    return opened;
}

Document *DocumentController::openMade(const Invoice &invoice)
{
    auto document = std::make_unique<Document>();
    if (!document->readFromData(writeInvoice(invoice)))
        return nullptr;
    document->windowControllerDidLoadNib();
    const QString unnumbered = document->startAsNewOfItsKind();
    Document *made = adopt(std::move(document));
    made->updateChangeCount(Document::ChangeDone);
    if (!unnumbered.isEmpty())
        Prompter::instance().inform(made->window(), tr("The new document has no number."), unnumbered);
    return made;
}

void DocumentController::scheduleAutosave(Document *document)
{
    QTimer *&timer = m_autosaveTimers[document];
    if (!timer) {
        timer = new QTimer(document);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, document] { autosave(document); });
    }
    timer->start(m_autosaveDelay);
}

void DocumentController::autosave(Document *document)
{
    if (!document->isEdited())
        return;
    if (document->filePath().isEmpty()) {
        // An untitled invoice has no file to save into: keep a recovery copy instead.
        QString &id = m_recoveryIds[document];
        if (id.isEmpty())
            id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_recovery.write(id, document->dataOfType());
        return;
    }
    if (writeTo(document, document->filePath()))
        document->updateChangeCount(Document::ChangeCleared);
    // A failed autosave leaves the document edited; the next change, Save or close tries again
    // and reports the failure then.
}

bool DocumentController::canClose(Document *document)
{
    if (!document->isEdited())
        return true;
    if (!document->filePath().isEmpty()) {
        // Documents with a file save themselves in place, as they do after every change.
        const Result<void> written = writeTo(document, document->filePath());
        if (written) {
            document->updateChangeCount(Document::ChangeCleared);
            return true;
        }
        Prompter::instance().alert(document->window(), tr("“%1” could not be saved.").arg(document->displayName()),
                                   writeFailureMessage(document->filePath(), written.message()));
    }
    switch (Prompter::instance().askSaveChanges(document->window(), document->displayName())) {
    case Prompter::SaveChoice::Save:
        return saveAs(document);
    case Prompter::SaveChoice::DontSave:
        return true;
    case Prompter::SaveChoice::Cancel:
        return false;
    }
    return false;
}

bool DocumentController::close(Document *document)
{
    if (!document || !document->window())
        return true;
    return document->window()->close();
}

bool DocumentController::closeAll()
{
    const QList<Document *> open = documents();
    for (Document *document : open) {
        if (!close(document))
            return false;
    }
    return true;
}

void DocumentController::dropRecoveryCopy(Document *document)
{
    const QString id = m_recoveryIds.take(document);
    if (!id.isEmpty())
        m_recovery.remove(id);
}

int DocumentController::recoverDocuments()
{
    const QList<RecoveryStore::Recovered> copies = m_recovery.takeOrphans();
    int reopened = 0;
    for (const RecoveryStore::Recovered &copy : copies) {
        auto document = std::make_unique<Document>();
        if (!document->readFromData(copy.bytes)) {
            m_recovery.remove(copy.id);
            continue;
        }
        document->windowControllerDidLoadNib();
        Document *adopted = adopt(std::move(document));
        m_recoveryIds.insert(adopted, copy.id);
        adopted->updateChangeCount(Document::ChangeDone);
        ++reopened;
    }
    return reopened;
}

void DocumentController::discard(Document *document)
{
    // Closed without a file: a number taken for it and never issued would leave a gap.
    if (document->filePath().isEmpty())
        document->releaseTakenNumber();
    dropRecoveryCopy(document);
    m_recovery.forgetSavedVersion(document->filePath());
    m_documents.removeAll(document);
    m_autosaveTimers.remove(document);
    document->window()->hide();
    document->deleteLater();
}

QList<Document *> DocumentController::documents() const
{
    QList<Document *> list;
    for (const QPointer<Document> &document : m_documents) {
        if (document)
            list.append(document);
    }
    return list;
}

Document *DocumentController::documentForPath(const QString &path) const
{
    const QString wanted = canonical(path);
    for (Document *document : documents()) {
        if (!document->filePath().isEmpty() && document->filePath() == wanted)
            return document;
    }
    return nullptr;
}

QStringList DocumentController::recentFiles() const
{
    const QVariant value = QSettings().value(recentKey);
    return value.toStringList();
}

void DocumentController::addRecentFile(const QString &path)
{
    QStringList list = recentFiles();
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > MaxRecentFiles)
        list.removeLast();
    QSettings().setValue(recentKey, list);
    emit recentFilesChanged();
}

void DocumentController::clearRecentFiles()
{
    QSettings().remove(recentKey);
    emit recentFilesChanged();
}

} // namespace seikyu
