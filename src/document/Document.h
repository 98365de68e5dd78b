#pragma once

#include "base/Result.h"
#include "invoice/Invoice.h"
#include "invoice/InvoiceModel.h"
#include "page/SheetRegions.h"
#include "sections/InvoiceNumber.h"
#include "table/ItemRow.h"

#include <QDialog>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace seikyu {

class DatePanel;
class DueDatePanel;
class InvoicePageView;
class InvoiceWindow;
class ItemTableModel;
class ListStore;
class NoticePanel;
class NumberPanel;
class PageButton;
class PageView;
class PanelSnapshot;
class Popover;
class ChoicePanel;
struct SharedNumbers;
class RemarksPanel;
class StampPanel;
class TablePanel;
class CustomerBookStore;
class CustomerSection;
class IssuerSection;
class ListSection;
struct ImportedRow;
struct TableState;

struct Customer;

/// The invoice amount box beside the table's own total.
struct AmountBoxCheck
{
    qint64 shown = 0; ///< the amount the box shows
    qint64 table = 0; ///< the table's payable total; 0 when the table is not totalled
};

/// One invoice's window: the page in it, its panels, and every operation the user can ask for.
///
/// The invoice itself is the model (`InvoiceModel`): its values, its table and the steps that change
/// them. The operations here are the window's side of those steps (which rows are selected, which
/// panel or notice comes next); what is saved, recorded or exported is read from the model. Element
/// members carry the names the whole application uses for them, and each element's objectName() is
/// that name too. Panels and popovers are owned by the document; every other element belongs to the
/// window and reads as null once the window is gone.
class Document : public QObject
{
    Q_OBJECT

public:
    enum ChangeKind { ChangeDone = 0, ChangeCleared = 2 };

    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // ---- file ----
    /// Reads a file's bytes into the contents waiting for this document's window set-up.
    /// Refused (BadInput, with the reason) for a file that is not an invoice.
    Result<void> readFromData(const QByteArray &bytes);
    /// The invoice file's bytes, read back from the page and the table.
    QByteArray dataOfType() const;
    /// The invoice the page shows, as its file records it.
    Invoice pageState() const;

    /// Builds the window and sets it up once, from the contents read before (if any).
    void windowControllerDidLoadNib();
    /// Looks the file's value for a saved list up, adding it when missing; the key of its entry,
    /// -1 when there is none to select.
    qint64 findThru(const QString &key, const std::optional<QString> &value);
    /// Writes the page texts of date, title, customer and issuer from the controls.
    void john();
    /// Whether opening a file teaches the user's lists its title, customer and issuer (the default).
    /// A document opened only to be exported leaves the lists alone and shows the file's own texts.
    void setTeachesLists(bool teaches) { m_teachesLists = teaches; }
    /// Rebuilds the page from the file contents, with nothing to undo and nothing edited.
    Result<void> revertToContents(const QByteArray &bytes);
    /// Revert to Saved: the page shows the saved file's contents, as one step that Undo takes
    /// back. Refused (with the reason, the page unchanged) for bytes that are no invoice.
    Result<void> revertToSaved(const QByteArray &savedBytes);
    /// Shows the file's contents on the page, recording nothing for undo.
    Result<void> showFileContents(const QByteArray &bytes);
    /// Shows another file in this set-up window exactly as a window newly opened from it would:
    /// what the file does not give is as in a new window (today's date, the title 請求書, …), at
    /// paper size, with nothing to undo and nothing edited. For a window that is only rendered, with
    /// no panel open; one set-up serves many files. Refused (with the reason, the page unchanged)
    /// for bytes that are no invoice.
    Result<void> readAnew(const QByteArray &bytes);

    /// The suggested name of a never-saved invoice: its number, then "-" and the customer's name if
    /// any; without a number "yyyy-MM-dd-" + the customer's name, or "Untitled" when there is no
    /// customer either. The name is the page line without its honorific (御中, 様).
    QString filename() const;

    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path);
    /// The name the window shows: the file's name, or "Untitled", "Untitled 2", … by the number
    /// the document machinery gave the window.
    QString displayName() const;
    int untitledNumber() const { return m_untitledNumber; }
    void setUntitledNumber(int number);

    bool isEdited() const { return m_edited; }
    void updateChangeCount(ChangeKind kind);

    QUndoStack *undoStack() { return m_model->undoStack(); }
    /// The invoice this window shows and edits.
    InvoiceModel *model() const { return m_model.get(); }

    /// How large the page shows on screen: 1 is one screen pixel per point of paper. Output is
    /// always rendered at 1, so the zoom never changes a PDF or a printout.
    static constexpr double MinimumZoom = 0.5;
    static constexpr double MaximumZoom = 3.0;
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    InvoiceWindow *window() const { return m_window.get(); }
    /// Whether the window and its page are built (set-up ran).
    bool hasPage() const;
    /// The stamp image the page shows; a null image when there is none.
    QImage stampImage() const { return m_model->stamp(); }
    /// The issuer block as the page shows it; empty before set-up.
    QString issuerShown() const { return m_model->issuer(); }
    /// The invoice date the date panel holds.
    QDate invoiceDate() const { return m_model->date(); }
    void setInvoiceDate(const QDate &day) { m_model->setDate(day); }
    /// The item table's rows.
    ItemTableModel *tableModel() const;
    /// Every page of the invoice, the first first: one, unless the item table is too long to read
    /// on one page and goes on over further pages. Each is drawn as it is output.
    QList<PageView *> pages() const;

    // ---- panels and popovers ----
    void show(QDialog *panel);
    void hide(QObject *sender = nullptr);
    void comeOver(Popover *popover, QWidget *view);
    void away(QObject *sender = nullptr);
    QDialog *shownSheet() const;
    Popover *shownPopover() const;

    // ---- title, customer, issuer ----
    void headLoad();
    void headShow(QObject *sender = nullptr);
    void headPlus(QObject *sender);
    void headKill(QObject *sender);
    void headEdit(QObject *sender);
    void headCopy(QObject *sender = nullptr);
    void headPlusExec(QObject *sender = nullptr);
    void headKillExec(QObject *sender = nullptr);
    void headEditExec(QObject *sender = nullptr);

    void whomLoad();
    void whomShow(QObject *sender = nullptr);
    void whomPlus(QObject *sender);
    void whomKill(QObject *sender);
    void whomEdit(QObject *sender);
    void whomCopy(QObject *sender = nullptr);
    void whomPlusExec(QObject *sender = nullptr);
    void whomKillExec(QObject *sender = nullptr);
    void whomEditExec(QObject *sender = nullptr);

    void homeLoad();
    void homeShow(QObject *sender = nullptr);
    void homePlus(QObject *sender);
    void homeKill(QObject *sender);
    void homeEdit(QObject *sender);
    void homeCopy(QObject *sender = nullptr);
    void homePlusExec(QObject *sender = nullptr);
    void homeKillExec(QObject *sender = nullptr);
    void homeEditExec(QObject *sender = nullptr);

    // ---- date ----
    void dateLoad(QObject *sender = nullptr);
    void dateShow(QObject *sender = nullptr);
    void dateCopy(QObject *sender = nullptr);

    // ---- stamp ----
    void pushInit();
    void pushShow(QObject *sender = nullptr);
    void pushCopy(QObject *sender = nullptr);
    void pushKillExec(QObject *sender = nullptr);
    void hank(QObject *sender = nullptr);
    /// Lets the user pick an image file for the stamp preview.
    void pushChoose(QObject *sender = nullptr);

    // ---- amount box ----
    /// The amount box as a new invoice has it: the heading 御請求金額 and no amount yet.
    static QString emptyAmountBox();
    void sumsShow(QObject *sender = nullptr);
    void sumsCopy(QObject *sender = nullptr);
    /// Closes the notice that there is no total to take.
    void sumsFailClose(QObject *sender = nullptr);
    /// Puts the table's payable total into the amount box; false when the table has no total.
    bool takeTableTotal();
    /// The box's amount and the table's total, when the box took its amount from the table.
    std::optional<AmountBoxCheck> amountBoxCheck() const;
    /// True when the box took its amount from the table and the table's total is no longer it.
    bool amountBoxDisagrees() const;

    // ---- invoice number, payment due date, remarks (each optional: empty shows nothing) ----
    QString invoiceNumber() const { return m_model->number(); }
    void setInvoiceNumber(const QString &number);
    void numbShow(QObject *sender = nullptr);
    void numbCopy(QObject *sender = nullptr);
    /// Puts the next number of the user's sequence into the number panel's field.
    void numbNext(QObject *sender = nullptr);
    /// Puts the next number of the sequence on the invoice: the office's on a shared ledger, else
    /// this computer's. The fault, with why, and the number as it was, when the server does not answer.
    Result<void> takeInvoiceNumber() { return takeInvoiceNumberFor(invoiceDate()); }
    /// Takes the next number in the sequence of an invoice dated `invoiceDate`.
    Result<void> takeInvoiceNumberFor(const QDate &invoiceDate);
    /// The invoice is closed unsaved: the number taken for it goes back to its sequence (or is
    /// recorded as unused) unless it was issued.
    void releaseTakenNumber();
    QDate dueDate() const { return m_model->dueDate(); }
    void setDueDate(const QDate &due);
    /// Writes the page's due date in the form of the invoice date (Western or Japanese era).
    void duesLoad();
    void duesShow(QObject *sender = nullptr);
    void duesCopy(QObject *sender = nullptr);
    QString remarks() const { return m_model->remarks(); }
    void setRemarks(const QString &remarks);
    /// The customer's address block in the envelope's window in place of the customer line, when the
    /// invoice has an address (the title then at the right); the customer line and title as ever
    /// without. Follows the address, the customer line and the user's adjustment of the block.
    void showCustomerAddress();
    /// The customer's electronic address for e-invoices ("0188:…"), empty when there is none.
    QString peer() const { return m_model->customerElectronicAddress(); }
    void setPeer(const QString &peer);
    void noteShow(QObject *sender = nullptr);
    void noteCopy(QObject *sender = nullptr);
    /// Makes this invoice, a fresh copy of another, the next one: dated `day` (by default a month
    /// after the other), with the next
    /// number for that date and the due date moved on by as many months as the invoice date
    /// where the other had them, the sums rows and the amount box only when `keepSums`, no guide
    /// border and nothing to undo. With `moveRowDates` the rows' dates move by as many months as
    /// the invoice date did. On a shared ledger whose server does not answer, the number is left
    /// empty: what to tell the user why is returned.
    QString startAsNextInvoice(bool keepSums, bool moveRowDates = false, const QDate &day = {});
    /// Makes this document, just made from another (Make Delivery Slip, Make Invoice, Make Receipt),
    /// one of its kind: the next number of its kind's sequence, an invoice's due date by the usual
    /// terms, no guide border and nothing to undo. What to tell the user when no number could be
    /// taken is returned.
    QString startAsNewOfItsKind();
    /// The receipt's panel: on paper or sent electronically.
    void paperShow(QObject *sender = nullptr);
    void paperCopy(QObject *sender = nullptr);
    void amountsShow(QObject *sender = nullptr);
    void amountsCopy(QObject *sender = nullptr);
    /// Moves every row date that reads as a month and day by `months` (see movedRowDate).
    void moveRowDatesBy(int months, const QDate &invoiceDate);
    /// The date panel's OK on a copy made by Duplicate and not yet saved, whose date moved from
    /// `was` to `now`: offers to move the rows' dates, the due date and a number taken for it with
    /// the date. False when the user cancels (the panel stays open).
    bool offerToFollowTheDate(const QDate &was, const QDate &now);
    /// Moves the due date, and the rows' dates when `moveRows`, as the invoice date moved.
    void moveWithTheDate(const QDate &was, const QDate &now, bool moveRows);
    /// Whether moving by `months` would change any row's date.
    bool rowDatesWouldMove(int months, const QDate &invoiceDate) const;

    // ---- item table ----
    void gridShow(QObject *sender = nullptr);
    void gridCopy(QObject *sender = nullptr);
    void tblePlus(QObject *sender = nullptr);
    void tbleKill(QObject *sender = nullptr);
    void tbleBack(QObject *sender = nullptr);
    /// Asks for confirmation of the totals (the "Add Sum" panel).
    void gridSumsShow(QObject *sender = nullptr);
    void gridCalc(QObject *sender = nullptr);
    /// Closes the notice that the table is already totalled.
    void gridFailClose(QObject *sender = nullptr);
    void gridNeat(int clickedRow);
    /// Works out the price of the table panel's current row, as a click on it does (Ctrl+Return).
    void gridNeatCurrent(QObject *sender = nullptr);
    void done(QObject *sender = nullptr);
    /// Edits one cell, recorded for undo as "Edit a cell".
    void editCell(int row, Column column, const QString &text);

    bool isTotalled() const;
    /// The invoice's consumption-tax rate (8 or 10), for the rows of the standard class.
    int taxRate() const { return m_model->taxRate(); }
    void setTaxRate(int rate);
    /// Whether the sums withhold income tax (源泉徴収).
    bool withholds() const { return m_model->withholding(); }
    /// Marks the selected item rows with a tax class, one undoable step; rows that all carry it
    /// already go back to the standard rate.
    void markRows(TaxClass taxClass);

    // ---- rows from elsewhere ----
    /// Pastes the clipboard into the table (Ctrl+V in the table panel, Edit ▸ Paste Rows): cells
    /// copied from a spreadsheet become rows after the current row; other text goes into the
    /// current cell.
    void gridPaste(QObject *sender = nullptr);
    /// Adds the rows of tab-separated text after the current row (after the last item when no row
    /// is chosen) as one undo step "Paste Rows"; columns neither named by a header nor told by
    /// their content are asked for. False when the text gives no row or the question is cancelled.
    bool pasteRows(const QString &text);
    /// File ▸ Import Rows…: asks for a CSV file and imports its rows.
    void importRows(QObject *sender = nullptr);
    /// Reads a CSV file, asks how its columns go into the table and adds its rows after the items
    /// as one undo step "Import Rows"; then says how many were added and which lines were skipped
    /// and why. The table is unchanged when nothing can be imported. The number of rows added.
    int importRowsFrom(const QString &path);
    /// Adds rows, each with its tax class, at an index as one undo step with the action name; the
    /// number added.
    int addRowsAt(int index, const QList<ImportedRow> &rows, const QString &actionName);

private:
    /// The invoice's table, undo steps and the values without a control of their own. Declared
    /// before the window so that the window's views let go of the table before it goes.
    std::unique_ptr<InvoiceModel> m_model;
    std::unique_ptr<InvoiceWindow> m_window;
    /// The page in the window: its regions, the item table and any further pages.
    std::unique_ptr<InvoicePageView> m_page;

    QPointer<DatePanel> dateCtrl;
    QPointer<NoticePanel> sumsCtrl;
    QPointer<StampPanel> pushCtrl;
    QPointer<TablePanel> gridCtrl;
    QPointer<NoticePanel> sumsFail;
    QPointer<NumberPanel> numbCtrl;
    QPointer<DueDatePanel> duesCtrl;
    QPointer<RemarksPanel> noteCtrl;
    QPointer<ChoicePanel> paperCtrl;
    QPointer<ChoicePanel> amountsCtrl;
    QPointer<NoticePanel> gridSums;
    QPointer<NoticePanel> gridFail;

signals:
    void editedChanged(bool edited);
    void filePathChanged(const QString &path);
    /// The page changed in a way worth saving soon (autosave in place).
    void changed();
    void zoomChanged(double zoom);

private:
    void buildPage();
    /// A page region, or null before set-up and once the window is gone.
    PageButton *region(SheetRegion at) const;
    /// The first page's item table; null before set-up and once the window is gone.
    QTableView *grid() const;
    /// Opens what a click on a region of the page opens.
    void regionActivated(SheetRegion at, PageButton *button);
    void buildPanels();
    /// Has the invoice model follow the page's controls from now on, starting from what they show.
    void bindModel();
    /// The customer's name and honorific, as the page shows them, into the model.
    void keepCustomer();
    /// Shows on the page what the model holds (the customer line excepted: it is shown through its
    /// list, with the honorific).
    void followModel();
    void buildListPanels();
    void buildTablePanels();
    void buildSmallPanels();
    void buildFreelancePanels();
    /// The honorific the customer line shows after the name; empty when none.
    QString shownHonorific() const;
    /// Shows the due date's guide border while it falls before the invoice date.
    void followDueDate();
    /// The page texts and stamp of a new invoice, before set-up fills them in.
    void showNewPage();
    /// The set-up of a window's page and panels from a file's contents, or those of a new invoice.
    void showContents(const std::optional<Invoice> &invoice);
    void applyContents(const Invoice &invoice);
    void showContentsTexts(const Invoice &invoice);
    void watchTable();
    void clearGuideBorders();
    /// Shows the amount box's guide border while its amount disagrees with the table's total.
    void followAmountBox();
    /// Every panel a region opens, with the notices and questions of the table and the amount box.
    QList<QDialog *> panels() const;
    /// Presents the notice that the totals could not be added, saying why.
    void showTotalsFailure(const QString &reason);
    /// The table panel's tax settings as the user changes them: each one undoable step, with the
    /// sums worked out afresh.
    void changeTaxOnTop(bool onTop);
    void changeWithholding(bool withholding);
    void changeTaxRate(int rate);

    /// The title, customer and issuer sections, in that order.
    QList<ListSection *> listSections() const;
    ListSection &listSection(const QString &key) const;
    /// The page region a list section writes its entry into.
    PageButton *pageButtonOf(const ListSection &section) const;
    /// Where the entries of a list section are kept: the customers in the customer book, the
    /// titles and the issuer's details in the user's settings.
    QPointer<ListStore> listStoreFor(const QString &key);
    CustomerBookStore *customerBook() const;
    /// The panel's OK: the chosen entry goes on the page.
    void listCopy(ListSection &section);
    QString listPageText(const ListSection &section, const QString &entry) const;
    /// The customer book follows the customer panel: the honorific last confirmed with a customer,
    /// its electronic address, the way to it in the book.
    void followCustomerBook();
    /// The customer panel's OK: the honorific and electronic address confirmed stay with the
    /// customer, and the customer brings its address and terms from the book.
    void customerChosen(qint64 key);
    /// Selects the honorific last confirmed with the chosen customer, if there is one.
    void selectRememberedHonorific();
    /// The page's customer as the customer book holds it, when it does.
    std::optional<Customer> customerInBook() const;
    /// The next number of this document's sequence for a date: an invoice's from the office's
    /// sequence on a shared ledger (taking it) or this computer's; the other kinds count on this
    /// computer, each in a sequence of its own.
    NumberProposal proposedNumber(const QDate &date) const;
    /// The office's sequence when this document takes its number from it: an invoice on a shared ledger.
    const SharedNumbers *officeNumbers() const;
    /// The due date to propose for an invoice dated `invoiceDate`: by the customer's closing day
    /// and payment terms when the book has them, else by the user's usual term.
    QDate proposedDueDate(const QDate &invoiceDate) const;
    /// The due date the customer's terms give for an invoice dated `invoiceDate`; nothing when
    /// the book holds no terms for the page's customer.
    std::optional<QDate> dueDateByTerms(const QDate &invoiceDate) const;
    /// The customer chosen in the customer panel brings from the book its address for the page
    /// and, on an invoice with a due date, the due date its terms give.
    void takeCustomerFromBook();
    /// Writes a saved entry onto its page line, remembering the honorific the line carries.
    void showListEntry(ListSection &section, const QString &entry);
    /// Tells the user when the last change to the lists or the stamp did not reach the settings file.
    void checkSettingsWritten();
    void reportSettingsNotWritten();
    /// Tells the user why a list's store could not keep a change.
    void reportListFault(const Fault &fault);

    void watchPanelCancels();
    /// A panel ended without its OK: every control of the panel goes back to how it was when the
    /// panel opened; the table panel puts the table back as one undoable step.
    void panelCancelled(QDialog *panel);
    /// The number panel was cancelled: a number Next Number took for it goes back.
    void numbCancelled();
    void rememberPanelAtOpen(QDialog *panel);
    void cancelTableEdits();
    void endTableSessionUnlessShown();
    void returnToThePage();
    /// Lets screen readers hear each page region with what it holds ("Customer: …").
    static void announceRegionsByContent();
    /// Names and describes the page's regions and the panels' controls for screen readers, and
    /// lets the keyboard reach and open every region.
    void describeForAssistiveTechnology();

    QString m_filePath;
    bool m_edited = false;
    bool m_setUp = false;
    bool m_teachesLists = true;
    /// Why opening a file could not teach a list its entry; told once, when the window is on screen.
    std::optional<Fault> m_listFault;
    bool m_amountStale = false;
    bool m_dueStale = false;
    bool m_madeByDuplicate = false; ///< made by Duplicate: until saved, its date may take the rows along
    QDate m_dateAtOpen;             ///< the invoice date when the date panel opened
    /// Where the table panel stood when the totals questions took its place: it comes back there.
    std::optional<QPoint> m_gridPlace;
    std::optional<NumberProposal> m_panelTaken; ///< taken by Next Number in the open number panel
    std::optional<NumberProposal> m_pageTaken;  ///< taken for the invoice, given back if never issued
    double m_zoom = 1.0;
    std::optional<Invoice> m_pendingContents;
    QList<QMetaObject::Connection> m_tableWatchers;
    QPointer<QDialog> m_shownSheet;
    QPointer<Popover> m_shownPopover;
    std::unique_ptr<ListSection> m_titles;
    std::unique_ptr<CustomerSection> m_customers;
    std::unique_ptr<IssuerSection> m_issuers;
    /// The honorific the customer line carries now, as it was composed: what the file writer takes
    /// off again to store the bare name.
    QString m_shownHonorific;
    int m_untitledNumber = 1;
    /// The controls of the shown panel as they were when it opened (all panels but the table's).
    std::unique_ptr<PanelSnapshot> m_panelAtOpen;
    /// The table as it was when the user opened the table panel; kept while the panel, or the
    /// totals questions it leads to, stay on screen.
    std::unique_ptr<TableState> m_tableAtOpen;
};

} // namespace seikyu
