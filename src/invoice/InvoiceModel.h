#pragma once

#include "invoice/Invoice.h"
#include "invoice/TableState.h"
#include "table/SumsRows.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QUndoStack>

namespace seikyu {

class ItemTableModel;

/// The invoice being edited, apart from any widget: its values, its item table, the steps that
/// undo changes to the table, and the seal it is stamped with. Windows show it and change it
/// through it; what is written, recorded or exported is read from here.
class InvoiceModel : public QObject
{
    Q_OBJECT

public:
    explicit InvoiceModel(QObject *parent = nullptr);
    ~InvoiceModel() override;

    /// The item table's rows, header and sums rows included.
    ItemTableModel *table() const;
    /// Every undoable change of this invoice, in order; unlimited.
    QUndoStack *undoStack() { return &m_undoStack; }

    /// The title as the page shows it ("請求書").
    QString title() const { return m_values.title.value_or(QString()); }
    void setTitle(const QString &title);
    QDate date() const { return m_values.date; }
    void setDate(const QDate &date);
    /// The dates are shown in the Japanese era (令和) rather than the western year.
    bool japaneseEra() const { return m_values.japaneseEra; }
    void setJapaneseEra(bool japaneseEra);
    /// The customer's name without its honorific, and the honorific shown after it (empty: none).
    QString customer() const { return m_values.customer.value_or(QString()); }
    QString honorificShown() const { return m_values.honorificShown; }
    void setCustomer(const QString &name, const QString &honorificShown);
    /// The honorific chosen for the customer: 0 御中, 1 様, -1 none.
    int honorificChoice() const { return m_values.honorificChoice; }
    void setHonorificChoice(int choice);
    /// The issuer block, its lines separated by line feeds.
    QString issuer() const { return m_values.issuer.value_or(QString()); }
    void setIssuer(const QString &issuer);
    /// The amount box's text exactly as shown (a filled box starts with U+0008).
    QString amountBox() const { return m_values.amountBox.value_or(QString()); }
    void setAmountBox(const QString &text);
    /// The tax is added on top of the prices; false when the prices include it.
    bool taxOnTop() const { return m_values.taxOnTop; }
    void setTaxOnTop(bool onTop);
    /// Income tax is withheld (源泉徴収).
    bool withholding() const { return m_values.withholding; }
    void setWithholding(bool withholding);
    QString remarks() const { return m_values.remarks; }
    void setRemarks(const QString &remarks);
    /// The issuer's seal pressed on the page; null when there is none. Kept with the settings, not
    /// in the invoice's file.
    QImage stamp() const { return m_stamp; }
    void setStamp(const QImage &stamp);

    QString number() const { return m_values.number; }
    void setNumber(const QString &number);
    QDate dueDate() const { return m_values.dueDate; }
    void setDueDate(const QDate &due);
    QString customerElectronicAddress() const { return m_values.customerElectronicAddress; }
    void setCustomerElectronicAddress(const QString &address);
    CustomerPostalAddress customerAddress() const { return m_values.customerAddress; }
    void setCustomerAddress(const CustomerPostalAddress &address);
    DocumentKind kind() const { return m_values.kind; }
    void setKind(DocumentKind kind);
    /// A receipt handed over on paper rather than sent electronically.
    bool paper() const { return m_values.paper; }
    void setPaper(bool paper);
    std::optional<StatementFacts> statement() const { return m_values.statement; }
    void setStatement(const std::optional<StatementFacts> &statement);
    bool amountsHidden() const { return m_values.amountsHidden; }
    void setAmountsHidden(bool hidden);
    QString madeFrom() const { return m_values.madeFrom; }
    void setMadeFrom(const QString &document);
    qint64 payment() const { return m_values.payment; }
    void setPayment(qint64 payment);
    /// The consumption-tax rate of the standard class: 10, or 8 as older invoices had. Any other
    /// rate a file gives is taken as 8, the rate such a file was made with. Reduced-rate rows are
    /// marked only at 10 %, where there is another rate to tell them from.
    int taxRate() const { return m_values.taxRate; }
    void setTaxRate(int rate);

    /// The invoice as it stands: its values and the table's item rows, sums rows included.
    Invoice invoice() const;

    // ---- the item table's steps: each one is one entry of the undo stack ----
    /// The table's rows and tax settings as they are now, and put back as they were.
    TableState tableState() const;
    void restoreTableState(const TableState &state);
    /// The table ends with its sums rows.
    bool isTotalled() const;
    /// What the sums are worked out with: the rate, tax and withholding settings, the rounding
    /// chosen in the preferences, and whether the issuer's registration number makes the invoice
    /// a qualified one, which states every rate's sums. The items are left for the caller.
    SumsInput sumsInput() const;
    enum class SumsOutcome { Added, AlreadyTotalled, TooLarge };
    /// "Add Sum": prices the items typed but never worked out, replaces any earlier set of sums by
    /// one at the end and writes every amount as currency text. Nothing changes unless Added.
    SumsOutcome addSums();
    /// The work of Add Sum without its undo step; false when nothing changed.
    bool appendSumsRows();
    /// "Remove Sum": takes the sums rows that end the table away; nothing when it has none.
    void removeSums();
    /// The work of Remove Sum without its undo step; false when there were no sums rows.
    bool removeSumsRows();
    /// Works the sums rows that end a totalled table out afresh from the items above them, in
    /// place; false when the table is not totalled. Every step that changes what the sums count
    /// does this within itself, so the sums are never stale.
    bool refreshSums();
    /// Pushes one step that changes the table; on a totalled table the sums are worked out afresh
    /// within the same entry, so that undo gives back the rows and their sums together.
    void pushTableStep(QUndoCommand *step);
    /// Records a change of the tax settings, made already, as one step from `before`, with the
    /// sums worked out afresh.
    void pushTableSettings(const QString &actionName, const TableState &before);

    /// "Add a Row": a row dated the invoice's date, above the sums of a totalled table.
    void addRow();
    /// "Remove Rows": the item rows at the indexes; the header and the sums rows stay.
    void removeRows(QList<int> indexes);
    /// Whether an edit of the cell would change the table: the row is an item row, not a sum,
    /// and the text differs from what the cell holds.
    bool editChangesCell(int row, Column column, const QString &text) const;
    /// "Edit a cell". A price worked out from the unit price and quantity follows either of them.
    void editCell(int row, Column column, const QString &text);
    /// "Work Out Price" of one item row; nothing when there is nothing to work out.
    void priceRow(int row);
    /// "Include Tax", "Withhold Income Tax", "Change Tax Rate": each one step with the sums.
    void changeTaxOnTop(bool onTop);
    void changeWithholding(bool withholding);
    void changeTaxRate(int rate);
    /// Whether marking these rows reduced rate takes the invoice from 8 % to today's rate.
    bool markingSwitchesRate(TaxClass taxClass) const;
    /// Marks the item rows among `rows` with the class in one step; rows that all carry it already
    /// go back to the standard rate. Marking rows of an 8 % invoice reduced rate switches it to 10 %.
    void markRows(const QList<int> &rows, TaxClass taxClass);
    /// "Finalize": every unit price and price written as currency text; undo gives plain numbers.
    void finalize();
    /// Writes every unit price and price as currency text, or as its plain number.
    void writeAmountsAsCurrency();
    void writeAmountsAsNumbers();
    /// Writes as currency text the unit price of every row whose price is currency text, as it
    /// was on screen when the file was saved (files keep unit prices as plain numbers).
    void formatUnitPricesBesideCurrency();

Q_SIGNALS:
    /// One of the values above changed (the table has its own signals).
    void valuesChanged();

private:
    QPointer<ItemTableModel> m_table;
    QUndoStack m_undoStack;
    Invoice m_values;
    QImage m_stamp;
};

} // namespace seikyu
