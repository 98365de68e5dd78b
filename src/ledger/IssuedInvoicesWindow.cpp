#include "ledger/IssuedInvoicesWindow.h"

#include "document/AtomicWrite.h"
#include "kinds/NextDocument.h"
#include "ledger/FilterText.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedFile.h"
#include "ledger/LedgerChain.h"
#include "ledger/LedgerCsv.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerRecovery.h"
#include "ledger/LedgerRoles.h"
#include "ledger/LedgerSqlSearch.h"
#include "ledger/LedgerTableModel.h"
#include "ledger/LongRead.h"
#include "ledger/PaymentDialog.h"
#include "ledger/PaymentRule.h"
#include "ledger/ProcedureTemplate.h"
#include "ledger/ReceiptOfPayment.h"
#include "table/Amounts.h"
#include "widgets/Prompter.h"
#include "widgets/WindowFront.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace seikyu {

namespace {

enum StatusChoice { AnyStatus, Outstanding, PastDue, UnpaidOnly, PartlyPaidOnly, PaidOnly, VoidOnly, NotOwedOnly };

} // namespace

IssuedInvoicesWindow *IssuedInvoicesWindow::showWindow(const QString &issuerEntry, InvoiceOpener openInvoice,
                                                       DocumentMaker makeDocument)
{
    static QPointer<IssuedInvoicesWindow> window;
    if (!window) {
        window = new IssuedInvoicesWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->setIssuerEntry(issuerEntry);
    window->setInvoiceOpener(std::move(openInvoice));
    window->setDocumentMaker(std::move(makeDocument));
    window->refresh();
    bringToFront(window);
    return window;
}

IssuedInvoicesWindow::IssuedInvoicesWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("issuedInvoices"));
    setWindowTitle(tr("Issued Invoices"));
    resize(960, 600);
    auto *layout = new QVBoxLayout(this);

    auto *grid = new QGridLayout;
    buildFilters(grid);
    layout->addLayout(grid);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    layout->addWidget(m_problem);

    m_model = new LedgerTableModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("ledgerTable"));
    m_table->setAccessibleName(tr("Issued invoices"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->horizontalHeader()->setSectionResizeMode(LedgerTableModel::CustomerColumn, QHeaderView::Stretch);
    m_table->horizontalHeader()->resizeSection(LedgerTableModel::StatusColumn, 200);
    m_table->horizontalHeader()->setSortIndicator(LedgerTableModel::DateColumn, Qt::DescendingOrder);
    m_table->setSortingEnabled(true);
    layout->addWidget(m_table, 1);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &IssuedInvoicesWindow::updateButtons);
    connect(m_table, &QTableView::activated, this, [this] { openArchivedPdf(); });

    m_footer = new QLabel(this);
    m_footer->setObjectName(QStringLiteral("footer"));
    m_footer->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    layout->addWidget(m_footer);

    auto *buttons = new QHBoxLayout;
    buildButtons(buttons);
    layout->addLayout(buttons);

    m_searchSoon = new QTimer(this);
    m_searchSoon->setSingleShot(true);
    m_searchSoon->setInterval(150);
    connect(m_searchSoon, &QTimer::timeout, this, &IssuedInvoicesWindow::refresh);
    for (QLineEdit *field :
         {m_from.data(), m_to.data(), m_min.data(), m_max.data(), m_customer.data(), m_number.data()})
        connect(field, &QLineEdit::textChanged, m_searchSoon, qOverload<>(&QTimer::start));
    connect(m_status, &QComboBox::currentIndexChanged, this, &IssuedInvoicesWindow::refresh);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &IssuedInvoicesWindow::refresh);
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] { m_customer->setFocus(Qt::ShortcutFocusReason); });
    updateButtons();
}

void IssuedInvoicesWindow::buildFilters(QGridLayout *grid)
{
    auto field = [this](const char *name, const QString &placeholder, const QString &accessible) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setPlaceholderText(placeholder);
        edit->setAccessibleName(accessible);
        edit->setClearButtonEnabled(true);
        return edit;
    };
    const QString datePlaceholder = tr("YYYY-MM-DD");
    m_from = field("from", datePlaceholder, tr("Invoice date from"));
    m_to = field("to", datePlaceholder, tr("Invoice date to"));
    m_min = field("min", tr("yen"), tr("Amount from"));
    m_max = field("max", tr("yen"), tr("Amount to"));
    m_customer = field("customer", tr("part of the name"), tr("Customer"));
    m_number = field("number", QString(), tr("Invoice number"));
    m_status = new QComboBox(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setAccessibleName(tr("Status"));
    m_status->addItems({tr("Any status"), tr("Unpaid or partly paid"), tr("Past due"),
                        statusText(PaymentStatus::Unpaid), statusText(PaymentStatus::PartlyPaid),
                        statusText(PaymentStatus::Paid), statusText(PaymentStatus::Voided),
                        statusText(PaymentStatus::NotOwed)});
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("kind"));
    m_kind->setAccessibleName(tr("Kind of document"));
    m_kind->addItem(tr("Any kind"));
    for (DocumentKind kind :
         {DocumentKind::Invoice, DocumentKind::Quote, DocumentKind::Delivery, DocumentKind::Receipt})
        m_kind->addItem(documentKindName(kind), int(kind));

    auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto *dash1 = new QLabel(QStringLiteral("–"), this);
    auto *dash2 = new QLabel(QStringLiteral("–"), this);
    grid->addWidget(label(tr("&Date:"), m_from), 0, 0);
    grid->addWidget(m_from, 0, 1);
    grid->addWidget(dash1, 0, 2);
    grid->addWidget(m_to, 0, 3);
    grid->addWidget(label(tr("&Amount:"), m_min), 0, 4);
    grid->addWidget(m_min, 0, 5);
    grid->addWidget(dash2, 0, 6);
    grid->addWidget(m_max, 0, 7);
    grid->addWidget(label(tr("C&ustomer:"), m_customer), 1, 0);
    grid->addWidget(m_customer, 1, 1, 1, 3);
    grid->addWidget(label(tr("&Number:"), m_number), 1, 4);
    grid->addWidget(m_number, 1, 5, 1, 3);
    grid->addWidget(label(tr("S&tatus:"), m_status), 0, 8);
    grid->addWidget(m_status, 0, 9);
    grid->addWidget(label(tr("&Kind:"), m_kind), 2, 0);
    grid->addWidget(m_kind, 2, 1, 1, 3);
    auto *unpaid = new QPushButton(tr("Un&paid"), this);
    unpaid->setObjectName(QStringLiteral("unpaid"));
    connect(unpaid, &QPushButton::clicked, this, &IssuedInvoicesWindow::showOnlyUnpaid);
    auto *late = new QPushButton(tr("Pa&st Due"), this);
    late->setObjectName(QStringLiteral("pastDue"));
    connect(late, &QPushButton::clicked, this, &IssuedInvoicesWindow::showOnlyPastDue);
    auto *quick = new QHBoxLayout;
    quick->addWidget(unpaid);
    quick->addWidget(late);
    grid->addLayout(quick, 1, 8, 1, 2);
}

void IssuedInvoicesWindow::buildButtons(QHBoxLayout *row)
{
    auto button = [this, row](const QString &text, const char *name, void (IssuedInvoicesWindow::*slot)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    m_pay = button(tr("&Record Payment…"), "recordPayment", &IssuedInvoicesWindow::recordPaymentForSelection);
    m_void = button(tr("&Void…"), "void", &IssuedInvoicesWindow::voidSelection);
    m_openPdf = button(tr("Open &PDF"), "openPdf", &IssuedInvoicesWindow::openArchivedPdf);
    m_openSource = button(tr("Open &Invoice"), "openSource", &IssuedInvoicesWindow::openSourceInvoice);
    m_makeReceipt = button(tr("&Make Receipt"), "makeReceipt", &IssuedInvoicesWindow::makeReceiptForSelection);
    row->addStretch(1);
    button(tr("Download &CSV…"), "downloadCsv", &IssuedInvoicesWindow::downloadCsv);
    button(tr("&Verify Ledger"), "verify", &IssuedInvoicesWindow::verifyLedger);
    button(tr("Rec&over…"), "recover", &IssuedInvoicesWindow::recoverLedger);
    button(tr("Record-Keeping Rules (事務処理規程)…"), "procedure", &IssuedInvoicesWindow::showProcedureTemplate);
}

template <typename R>
Result<R> IssuedInvoicesWindow::onLedger(bool toWrite, std::function<R(LedgerStore &)> work, const QString &waitingFor)
{
    Result<R> done = IssueLedger::instance().withStore<R>(toWrite, std::move(work), waitingFor, this);
    afterLook(done.ok(), done.message());
    return done;
}

void IssuedInvoicesWindow::afterLook(bool reached, const QString &error)
{
    if (const auto told = IssueLedger::instance().takeMessage())
        Prompter::instance().inform(this, tr("Ledger of issued invoices"), *told);
    if (!reached) {
        m_problem->setText(tr("The ledger of issued invoices cannot be opened: %1").arg(error));
        m_problem->show();
    }
    showWaiting(reached);
}

std::optional<LedgerFilter> IssuedInvoicesWindow::filter()
{
    LedgerFilter filter;
    QStringList complaints;
    bool ok = true;
    filter.from = readFilterDate(m_from->text(), &ok);
    if (!ok)
        complaints.append(tr("The first date is not a date (YYYY-MM-DD)."));
    filter.to = readFilterDate(m_to->text(), &ok);
    if (!ok)
        complaints.append(tr("The second date is not a date (YYYY-MM-DD)."));
    filter.minAmount = readFilterAmount(m_min->text(), &ok);
    if (!ok)
        complaints.append(tr("The smallest amount is not an amount."));
    filter.maxAmount = readFilterAmount(m_max->text(), &ok);
    if (!ok)
        complaints.append(tr("The largest amount is not an amount."));
    // A range whose ends were typed the wrong way round holds nothing: said, rather than an empty table.
    if (filter.from && filter.to && *filter.from > *filter.to)
        complaints.append(tr("The first date is after the second: swap them to search from %1 to %2.")
                              .arg(filter.to->toString(Qt::ISODate), filter.from->toString(Qt::ISODate)));
    if (filter.minAmount && filter.maxAmount && *filter.minAmount > *filter.maxAmount)
        complaints.append(tr("The smallest amount is more than the largest: swap them to search from %1 to %2.")
                              .arg(mark(*filter.maxAmount), mark(*filter.minAmount)));
    filter.customer = m_customer->text();
    filter.number = m_number->text();
    switch (m_status->currentIndex()) {
    case Outstanding:
        filter.statuses = LedgerFilter::outstanding();
        break;
    case PastDue:
        filter.pastDueOnly = true;
        break;
    case UnpaidOnly:
        filter.statuses = {PaymentStatus::Unpaid};
        break;
    case PartlyPaidOnly:
        filter.statuses = {PaymentStatus::PartlyPaid};
        break;
    case PaidOnly:
        filter.statuses = {PaymentStatus::Paid};
        break;
    case VoidOnly:
        filter.statuses = {PaymentStatus::Voided};
        break;
    case NotOwedOnly:
        filter.statuses = {PaymentStatus::NotOwed};
        break;
    default:
        break;
    }
    if (const QVariant kind = m_kind->currentData(); kind.isValid())
        filter.document = DocumentKind(kind.toInt());
    filter.today = QDate::currentDate();
    m_problem->setText(complaints.join(QLatin1Char(' ')));
    m_problem->setVisible(!complaints.isEmpty());
    if (!complaints.isEmpty())
        return std::nullopt;
    return filter;
}

void IssuedInvoicesWindow::refresh()
{
    const std::optional<LedgerFilter> wanted = filter();
    m_shown = wanted;
    if (!wanted) {
        // Rows found by an earlier condition would pass for the answer to this one.
        static_cast<void>(m_model->setSearch({}, QDate()));
        m_footer->setText(footerText());
        updateButtons();
        showWaiting(false); // what waits or was refused stays in view beside the complaint
        return;
    }
    // The anchor of what other computers recorded is kept here too; a look that also says whether
    // the ledger can be reached before the table asks for its rows.
    if (!onLedger<bool>(
            false,
            [](LedgerStore &ledger) {
                ledger.noteHead();
                return true;
            },
            tr("Reading the office's ledger…")))
        return;
    const qint64 selected = selectedIssue() ? selectedIssue()->issue.id : 0;
    // Each slice is read where the ledger lives: a shared ledger's on the server's thread, so that
    // scrolling never waits on the network unbounded.
    QPointer<IssuedInvoicesWindow> self(this);
    const Result<void> read = m_model->setSearch(
        [self, filter = *wanted](const LedgerSlice &slice) -> Result<LedgerPage> {
            Result<Result<LedgerPage>> slicePage = IssueLedger::instance().withStore<Result<LedgerPage>>(
                false, [filter, slice](LedgerStore &ledger) { return searchLedger(ledger.database(), filter, slice); },
                tr("Reading the office's ledger…"), self);
            if (!slicePage)
                return slicePage.fault();
            return std::move(slicePage).value();
        },
        wanted->today);
    if (!read) {
        m_problem->setText(tr("The ledger of issued invoices cannot be read: %1").arg(read.message()));
        m_problem->show();
    }
    m_footer->setText(footerText());
    if (selected != 0) {
        const int row = m_model->rowOfIssue(selected);
        if (row >= 0)
            m_table->selectRow(row);
    }
    updateButtons();
}

QString IssuedInvoicesWindow::footerText() const
{
    const LedgerTotals &totals = m_model->totals();
    QString text = tr("%n invoice(s) shown · Total %1 · Outstanding %2", nullptr, totals.count)
                       .arg(mark(totals.amount), mark(totals.outstanding));
    // Numbers taken and given up on, so that a gap in the sequence has its reason on screen.
    QStringList unused;
    for (const LedgerEntry &entry : m_model->page().unused)
        unused.append(tr("%1 (%2)").arg(entry.number, entry.note));
    if (!unused.isEmpty())
        text += QLatin1Char('\n') + tr("Unused numbers: %1").arg(unused.join(QStringLiteral(", ")));
    return text;
}

int IssuedInvoicesWindow::selectedRow() const
{
    if (!m_table || !m_table->selectionModel())
        return -1;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

const IssuedInvoice *IssuedInvoicesWindow::selectedIssue() const
{
    return m_model->issueAt(selectedRow());
}

void IssuedInvoicesWindow::updateButtons()
{
    const IssuedInvoice *row = selectedIssue();
    m_pay->setEnabled(row && !row->voided && isReceivable(row->issue.document));
    m_void->setEnabled(row && !row->voided);
    m_openPdf->setEnabled(row && !row->issue.archiveName.isEmpty());
    m_openSource->setEnabled(row && !row->issue.sourcePath.isEmpty());
    m_makeReceipt->setEnabled(row && !row->voided && isReceivable(row->issue.document) && m_makeDocument);
}

bool IssuedInvoicesWindow::recordPayment(qint64 issueId, const QDate &date, qint64 amount, const QString &note)
{
    if (fitPayment(amount, 0, 0) == PaymentFit::Nothing)
        return false;
    const Result<Result<LedgerPage>> found = onLedger<Result<LedgerPage>>(
        true,
        [issueId](LedgerStore &ledger) {
            LedgerFilter only;
            only.issueId = issueId;
            return searchLedger(ledger.database(), only, LedgerSlice{});
        },
        tr("Looking up the invoice in the office's ledger…"));
    if (!found) {
        sayNotRecorded(tr("The payment could not be recorded."), found.message());
        return false;
    }
    if (!*found || (*found)->rows.isEmpty())
        return false;
    const IssuedInvoice &row = (*found)->rows.constFirst();
    const qint64 paid = (*found)->paid.constFirst();
    if (!isReceivable(row.issue.document)) {
        sayNotRecorded(tr("The payment could not be recorded."),
                       tr("%1 %2 is not an invoice: nothing is owed on it.")
                           .arg(documentKindName(row.issue.document), row.issue.number));
        return false;
    }
    if (fitPayment(amount, row.issue.amount, paid) == PaymentFit::Beyond &&
        !Prompter::instance().askToProceed(
            this, tr("The payment is more than what is owed."),
            tr("Invoice %1 asks for %2 more; the payment is %3. Record it all the same?")
                .arg(row.issue.number.isEmpty() ? QString::number(row.issue.id) : row.issue.number,
                     mark(stillOwed(row.issue.amount, paid)), mark(amount)),
            tr("Record")))
        return false;
    if (!recordWith(tr("The payment could not be recorded."), tr("Recording the payment in the office's ledger…"),
                    [=](LedgerStore &ledger) { return ledger.recordPayment(issueId, date, amount, note); }))
        return false;
    refresh();
    return true;
}

bool IssuedInvoicesWindow::recordWith(const QString &what, const QString &waitingFor,
                                      const std::function<Result<LedgerEntry>(LedgerStore &)> &write)
{
    const Result<Result<LedgerEntry>> written = onLedger<Result<LedgerEntry>>(true, write, waitingFor);
    if (written && *written)
        return true;
    if (written) {
        sayNotRecorded(what, written->message());
        return false;
    }
    QString error = written.message();
    if (IssueLedger::instance().shared())
        // The statement may have reached the server before it fell silent.
        error += QLatin1Char(' ') + tr("Whether it reached the ledger shows in this list once the server answers "
                                       "again; look there before recording it again.");
    sayNotRecorded(what, error);
    return false;
}

bool IssuedInvoicesWindow::ledgerAnswers(const QString &what)
{
    const Result<bool> answered = onLedger<bool>(
        true, [](LedgerStore &) { return true; }, tr("Reaching the office's ledger…"));
    if (answered)
        return true;
    sayNotRecorded(what, answered.message());
    return false;
}

void IssuedInvoicesWindow::recordPaymentForSelection()
{
    const IssuedInvoice *row = selectedIssue();
    if (!row)
        return;
    // Said before the dialog, so nothing is typed in vain.
    if (!ledgerAnswers(tr("The payment could not be recorded.")))
        return;
    row = selectedIssue();
    if (!row)
        return;
    const qint64 id = row->issue.id;
    const qint64 owed = row->issue.amount - m_model->paidAt(selectedRow());
    PaymentDialog dialog(tr("%1 %2, %3").arg(row->issue.number, row->issue.customer, mark(row->issue.amount)), owed,
                         this);
    if (dialog.exec() == QDialog::Accepted)
        recordPayment(id, dialog.date(), dialog.amount(), dialog.note());
}

void IssuedInvoicesWindow::voidSelection()
{
    if (!selectedIssue() || !ledgerAnswers(tr("The entry could not be voided.")))
        return;
    const IssuedInvoice *row = selectedIssue();
    if (!row)
        return;
    const qint64 id = row->issue.id;
    bool ok = false;
    const QString reason =
        QInputDialog::getText(this, tr("Void"),
                              tr("Why is this entry void? The entry stays in the ledger, marked void with your "
                                 "reason."),
                              QLineEdit::Normal, QString(), &ok)
            .trimmed();
    if (!ok || reason.isEmpty())
        return;
    recordWith(tr("The entry could not be voided."), tr("Voiding the entry in the office's ledger…"),
               [id, reason](LedgerStore &ledger) { return ledger.recordVoid(id, reason); });
    refresh();
}

void IssuedInvoicesWindow::openArchivedPdf()
{
    const IssuedInvoice *row = selectedIssue();
    if (!row || row->issue.archiveName.isEmpty())
        return;
    const QString path = QDir(IssueLedger::instance().archiveFolder()).filePath(row->issue.archiveName);
    if (!QFileInfo::exists(path)) {
        Prompter::instance().alert(this, tr("The archived PDF is missing."), QDir::toNativeSeparators(path));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void IssuedInvoicesWindow::openSourceInvoice()
{
    const IssuedInvoice *row = selectedIssue();
    if (!row || row->issue.sourcePath.isEmpty())
        return;
    if (!QFileInfo::exists(row->issue.sourcePath)) {
        Prompter::instance().alert(this, tr("The invoice file is no longer there."),
                                   QDir::toNativeSeparators(row->issue.sourcePath));
        return;
    }
    if (m_openInvoice)
        m_openInvoice(row->issue.sourcePath);
}

void IssuedInvoicesWindow::makeReceiptForSelection()
{
    const IssuedInvoice *row = selectedIssue();
    if (!row || !m_makeDocument)
        return;
    const LedgerEntry issue = row->issue;
    const Result<QList<PaymentReceipts>> found = IssueLedger::instance().paymentsOf(issue.id, this);
    if (!found) {
        Prompter::instance().alert(this, tr("The payments cannot be read."), found.message());
        return;
    }
    const std::optional<PaymentToAcknowledge> paid = paymentToAcknowledge(*found, issue.amount);
    if (!paid) {
        Prompter::instance().inform(this, tr("No payment is recorded for this invoice yet."),
                                    tr("Record the payment first: the receipt states what was received."));
        return;
    }
    if (paid->paid.receiptId != 0 &&
        !Prompter::instance().askToProceed(this, tr("This payment already has a receipt."),
                                           tr("Make another receipt for it?"), tr("Make Receipt")))
        return;
    const std::optional<Invoice> invoice = issuedFileOf(issue);
    if (!invoice) {
        Prompter::instance().alert(this, tr("The invoice's file is gone or has changed since it was issued."),
                                   QDir::toNativeSeparators(issue.sourcePath));
        return;
    }
    const std::optional<Invoice> receipt = receiptOfPayment(*invoice, *paid);
    if (!receipt) {
        Prompter::instance().inform(this, tr("This receipt is made from the invoice."), partOfSeveralRatesText());
        return;
    }
    m_makeDocument(*receipt);
}

QString IssuedInvoicesWindow::fileToReadAside()
{
    IssueLedger &ledger = IssueLedger::instance();
    return !ledger.shared() && QFileInfo::exists(ledger.databasePath()) ? ledger.databasePath() : QString();
}

std::optional<Result<QByteArray>> IssuedInvoicesWindow::csv()
{
    if (const QString file = fileToReadAside(); m_shown && !file.isEmpty()) {
        struct Read
        {
            bool opened = false;
            Result<QByteArray> csv = QByteArray();
        };
        const std::optional<Read> read =
            readCancellable<Read>(this, tr("Reading the ledger of issued invoices…"),
                                  [file, anchor = IssueLedger::instance().anchorPath(), filter = *m_shown,
                                   slice = m_model->everyRow()](const std::atomic<bool> &stop) {
                                      Read found;
                                      const std::unique_ptr<LedgerStore> store = openToReadAside(file, anchor, stop);
                                      found.opened = store != nullptr;
                                      if (!store)
                                          return found;
                                      const Result<LedgerPage> page = searchLedger(store->database(), filter, slice);
                                      if (!page)
                                          found.csv = page.fault();
                                      else if (stop)
                                          found.csv = Fault{FaultKind::Unreadable, QString()};
                                      else
                                          found.csv = ledgerCsv(*page);
                                      return found;
                                  });
        if (!read)
            return std::nullopt;
        if (read->opened)
            return read->csv;
    }
    if (const Result<void> fetched = m_model->fetchAll(); !fetched)
        return fetched.fault();
    return ledgerCsv(m_model->page());
}

void IssuedInvoicesWindow::downloadCsv()
{
    // One long read at a time: the menus of other windows still reach this one meanwhile, and two
    // recoveries at once would each take what the other is taking.
    if (m_longRead)
        return;
    const QScopedValueRollback running(m_longRead, true);
    const QString name = tr("issued-invoices-%1.csv").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    const QString path = Prompter::instance().saveFileName(this, tr("Download CSV"), QDir::home().filePath(name),
                                                           tr("CSV (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const std::optional<Result<QByteArray>> rows = csv();
    if (!rows)
        return; // the file is written only from a whole read: nothing was
    if (!*rows)
        Prompter::instance().alert(this, tr("The CSV could not be written."),
                                   tr("The ledger of issued invoices cannot be read: %1").arg(rows->message()));
    else if (const Result<void> written = writeFileAtomically(path, **rows); !written)
        Prompter::instance().alert(this, tr("The CSV could not be written."), written.message());
}

std::optional<QString> IssuedInvoicesWindow::verificationReport()
{
    struct Checked
    {
        bool opened = false;
        Result<LedgerCheck> check = LedgerCheck();
    };
    std::optional<Checked> checked;
    if (const QString file = fileToReadAside(); !file.isEmpty()) {
        checked = readCancellable<Checked>(
            this, tr("Verifying the ledger…"),
            [file, anchor = IssueLedger::instance().anchorPath()](const std::atomic<bool> &stop) {
                Checked found;
                if (const std::unique_ptr<LedgerStore> store = openToReadAside(file, anchor, stop)) {
                    found.opened = true;
                    found.check = IssueLedger::instance().verifyLocal(*store, stop);
                }
                return found;
            });
        if (!checked)
            return std::nullopt;
    }
    if (!checked || !checked->opened) {
        checked = Checked();
        checked->check = IssueLedger::instance().verifyLedger(this);
    }
    if (!checked->check)
        return tr("The ledger could not be read: %1").arg(checked->check.message());
    const LedgerCheck &check = *checked->check;
    QStringList lines;
    if (check.problems.isEmpty())
        lines.append(tr("The ledger is intact: no entry and no archived PDF was changed."));
    for (const ChainProblem &problem : check.problems)
        lines.append(describeProblem(problem, check.names));
    if (check.loginMayAlter)
        lines.append(alterableLoginText());
    if (const QString reach = archiveReachText(check); !reach.isEmpty())
        lines.append(reach);
    if (const QString fingerprint = fingerprintLine(check); !fingerprint.isEmpty())
        lines.append(fingerprint);
    return lines.join(QLatin1Char('\n'));
}

void IssuedInvoicesWindow::verifyLedger()
{
    if (m_longRead)
        return; // as for downloadCsv()
    const QScopedValueRollback running(m_longRead, true);
    const std::optional<QString> checked = verificationReport();
    if (!checked) {
        Prompter::instance().inform(this, tr("Verify Ledger"),
                                    tr("Verify Ledger was stopped before it finished: it found nothing either way. "
                                       "Run it again to know whether the ledger is intact."));
        return;
    }
    const QString &report = *checked;
    const bool intact = report.startsWith(tr("The ledger is intact: no entry and no archived PDF was changed."));
    if (intact)
        Prompter::instance().inform(this, tr("Verify Ledger"), report);
    else
        Prompter::instance().alert(this, tr("Verify Ledger found something wrong."), report);
}

void IssuedInvoicesWindow::recoverLedger()
{
    if (m_longRead)
        return; // as for downloadCsv()
    const QScopedValueRollback running(m_longRead, true);
    IssueLedger &ledger = IssueLedger::instance();
    QStringList files;
    if (QFileInfo::exists(ledger.databasePath()))
        files.append(ledger.databasePath());
    for (const QString &aside : setAsideLedgers(ledger.databasePath()))
        files.append(QDir(ledger.folder()).filePath(aside));
    QStringList choices;
    for (const QString &file : std::as_const(files))
        choices.append(QFileInfo(file).fileName());
    choices.append(tr("Another File…"));
    const int chosen = Prompter::instance().askToChoose(
        this, tr("Recover the entries of which ledger?"),
        tr("The readable entries of a damaged ledger are checked against their chain and added to this ledger; what "
           "it holds already is not added twice. This ledger, when chosen and damaged, is first set aside and a new "
           "one started."),
        choices);
    if (chosen < 0)
        return;
    const QString path =
        chosen < files.size() ? files.at(chosen) : Prompter::instance().openFileName(this, tr("Recover"), QString());
    if (path.isEmpty())
        return;
    QString aside;
    LedgerRecovery done;
    if (ledger.shared()) {
        done = ledger.recover(path, &aside);
    } else {
        // Recorded on a connection of the work's own; the window's opens again when next needed.
        ledger.close();
        auto recovered = std::make_shared<IssueLedger::LocalRecovery>();
        const bool whole =
            runCancellable(this, tr("Recovering entries…"), [path, recovered](const std::atomic<bool> &stop) {
                *recovered = IssueLedger::instance().recoverLocal(path, stop);
            });
        ledger.tellSealed(recovered->seal);
        // Stopped before it recorded anything, all is as it was; once it records, it ends and tells.
        if (!whole && !recovered->recording && recovered->setAside.isEmpty()) {
            refresh();
            return;
        }
        done = recovered->done;
        aside = recovered->setAside;
    }
    const QString report = describeRecovery(done, aside).join(QLatin1Char('\n'));
    if (!done.error.isEmpty())
        Prompter::instance().alert(this, tr("The entries could not be recovered: %1").arg(done.error), report);
    else
        Prompter::instance().inform(this, tr("Recover"), report);
    refresh();
}

void IssuedInvoicesWindow::showProcedureTemplate()
{
    auto *dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Record-Keeping Rules (事務処理規程)"));
    dialog->resize(640, 560);
    auto *layout = new QVBoxLayout(dialog);
    auto *text = new QPlainTextEdit(procedureTemplate(m_issuerEntry, QDate::currentDate()), dialog);
    text->setAccessibleName(tr("Record-keeping rules"));
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close, dialog);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog, text] {
        const QString path = Prompter::instance().saveFileName(
            dialog, tr("Save"), QDir::home().filePath(QStringLiteral("事務処理規程.txt")), tr("Text (*.txt)"),
            QStringLiteral("txt"));
        if (path.isEmpty())
            return;
        if (const Result<void> written = writeFileAtomically(path, text->toPlainText().toUtf8()); !written)
            Prompter::instance().alert(dialog, tr("The file could not be written."), written.message());
    });
    dialog->show();
}

void IssuedInvoicesWindow::showOnlyUnpaid()
{
    m_status->setCurrentIndex(Outstanding);
    m_table->setFocus();
}

void IssuedInvoicesWindow::showOnlyPastDue()
{
    m_status->setCurrentIndex(PastDue);
    m_table->setFocus();
}

void IssuedInvoicesWindow::changeEvent(QEvent *event)
{
    // What other windows and processes recorded meanwhile shows when the user comes back.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

} // namespace seikyu
