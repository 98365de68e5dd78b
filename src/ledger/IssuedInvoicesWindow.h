#pragma once

#include "base/Result.h"
#include "ledger/LedgerOutbox.h"
#include "ledger/LedgerSearch.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace seikyu {

class LedgerTableModel;
class LedgerStore;
struct Invoice;

/// Window ▸ Issued Invoices: the ledger's issued invoices, newest first, searched by date range,
/// amount range, customer, number and status, with totals of what is shown; payments, voids, the
/// archived PDF, the source invoice, the CSV download and the ledger's verification.
class IssuedInvoicesWindow : public QWidget
{
    Q_OBJECT

public:
    /// Opens the invoice file at a path in an invoice window.
    using InvoiceOpener = std::function<void(const QString &path)>;
    /// Opens a new, untitled document made of these values (a receipt made for a payment).
    using DocumentMaker = std::function<void(const Invoice &made)>;

    /// The one window, shown and raised; `issuerEntry` fills in the 事務処理規程 template.
    static IssuedInvoicesWindow *showWindow(const QString &issuerEntry, InvoiceOpener openInvoice,
                                            DocumentMaker makeDocument = {});

    explicit IssuedInvoicesWindow(QWidget *parent = nullptr);

    void setIssuerEntry(const QString &entry) { m_issuerEntry = entry; }
    void setInvoiceOpener(InvoiceOpener opener) { m_openInvoice = std::move(opener); }
    void setDocumentMaker(DocumentMaker maker) { m_makeDocument = std::move(maker); }

    /// The search the fields describe; nothing (with the field's complaint shown) when a date or an
    /// amount does not read.
    std::optional<LedgerFilter> filter();
    /// Reads what was recorded since and searches again.
    void refresh();
    LedgerTableModel *model() const { return m_model; }
    QString footerText() const;

    /// Records a payment against an issue; an amount beyond what is owed asks first. False when
    /// nothing was recorded.
    bool recordPayment(qint64 issueId, const QDate &date, qint64 amount, const QString &note);
    /// Every row the search found as CSV, in the order shown, or why the ledger cannot be read;
    /// nothing when the user cancelled the read.
    std::optional<Result<QByteArray>> csv();
    /// The verification's result as text: the problems found, or that the ledger is intact; nothing
    /// when the user cancelled it.
    std::optional<QString> verificationReport();

    void recordPaymentForSelection();
    void voidSelection();
    void openArchivedPdf();
    void openSourceInvoice();
    /// The receipt of the selected invoice's payment, made from the invoice's file, dated the day
    /// it was paid and tied to that payment when issued. Made here for an invoice paid in one
    /// payment of its whole amount; otherwise the user is told to make it from the invoice.
    void makeReceiptForSelection();
    void downloadCsv();
    void verifyLedger();
    /// Recovers the readable entries of a damaged ledger (this one, one set aside, another file).
    void recoverLedger();
    void showProcedureTemplate();
    void showOnlyUnpaid();
    void showOnlyPastDue();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildFilters(QGridLayout *grid);
    void buildButtons(QHBoxLayout *row);
    /// Runs `work` on the ledger to write to, or (toWrite false) the one to read, which never
    /// creates or changes it, wherever that ledger lives (a shared one on the server's thread,
    /// saying `waitingFor` while it waits); says in the window when it cannot.
    template <typename R>
    Result<R> onLedger(bool toWrite, std::function<R(LedgerStore &)> work, const QString &waitingFor);
    /// Writes to the ledger (a payment, a void); tells the user `what` failed, and why, when it did.
    bool recordWith(const QString &what, const QString &waitingFor,
                    const std::function<Result<LedgerEntry>(LedgerStore &)> &write);
    /// Whether the ledger can be written to now; tells the user `what` cannot be done when not.
    bool ledgerAnswers(const QString &what);
    /// After a look at the ledger: what to tell, whether it could be reached.
    void afterLook(bool reached, const QString &error);
    /// The local ledger's file when a long read can take it off the window's thread, else empty.
    QString fileToReadAside();
    int selectedRow() const;
    const IssuedInvoice *selectedIssue() const;
    void updateButtons();

    QPointer<QLineEdit> m_from;
    QPointer<QLineEdit> m_to;
    QPointer<QLineEdit> m_min;
    QPointer<QLineEdit> m_max;
    QPointer<QLineEdit> m_customer;
    QPointer<QLineEdit> m_number;
    QPointer<QComboBox> m_status;
    QPointer<QComboBox> m_kind;
    QPointer<QTableView> m_table;
    /// With a shared ledger: sends what waits, and says how many entries still wait and which
    /// the server refused.
    void showWaiting(bool connected);
    /// Says how many entries wait and which were refused, and what a sending just found.
    void sayWaiting(const OutboxSending &sent);
    /// Tells the user that `what` was not recorded: the error, or that the ledger cannot be reached.
    void sayNotRecorded(const QString &what, const QString &error = QString());
    QPointer<QLabel> m_footer;
    QPointer<QLabel> m_problem;
    QPointer<QPushButton> m_pay;
    QPointer<QPushButton> m_void;
    QPointer<QPushButton> m_openPdf;
    QPointer<QPushButton> m_openSource;
    QPointer<QPushButton> m_makeReceipt;
    QPointer<QTimer> m_searchSoon;
    LedgerTableModel *m_model = nullptr;
    std::optional<LedgerFilter> m_shown; ///< the search the table shows, if the fields read
    bool m_longRead = false;             ///< a download, Verify or Recover runs

    QString m_issuerEntry;
    InvoiceOpener m_openInvoice;
    DocumentMaker m_makeDocument;
};

} // namespace seikyu
