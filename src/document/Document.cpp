#include "document/Document.h"

#include "document/ChoicePanel.h"
#include "document/CustomerSection.h"
#include "document/DatePanel.h"
#include "document/DueDatePanel.h"
#include "document/FileNameText.h"
#include "document/InvoicePageView.h"
#include "document/InvoiceWindow.h"
#include "document/IssuerSection.h"
#include "document/NoticePanel.h"
#include "document/NumberPanel.h"
#include "document/PageView.h"
#include "document/PanelSheet.h"
#include "document/RemarksPanel.h"
#include "document/StampPanel.h"
#include "document/TablePanel.h"
#include "invoice/InvoiceFile.h"
#include "invoice/ItemTableModel.h"
#include "invoice/TableState.h"
#include "kinds/KindWords.h"
#include "sections/DateText.h"
#include "sections/EntryFields.h"
#include "sections/ListStore.h"
#include "sections/PanelSnapshot.h"
#include "sections/SavedLists.h"
#include "table/TaxPreferences.h"
#include "widgets/ImageWell.h"
#include "widgets/PageButton.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialog>
#include <QFileInfo>
#include <QTableView>

namespace seikyu {

Document::Document(QObject *parent) : QObject(parent), m_model(std::make_unique<InvoiceModel>()) {}

Document::~Document()
{
    // Panels and popovers are children of the window: let them go before it does.
    m_shownSheet.clear();
    m_shownPopover.clear();
}

ItemTableModel *Document::tableModel() const
{
    return m_model->table();
}

Result<void> Document::readFromData(const QByteArray &bytes)
{
    Result<Invoice> read = readInvoiceBytes(bytes);
    if (!read) {
        m_pendingContents.reset();
        return read.fault();
    }
    m_pendingContents = std::move(*read);
    return {};
}

Invoice Document::pageState() const
{
    Invoice state = m_model->invoice();
    if (!state.date.isValid()) // before the page is set up
        state.date = QDate::currentDate();
    return state;
}

QByteArray Document::dataOfType() const
{
    return writeInvoice(pageState());
}

void Document::windowControllerDidLoadNib()
{
    if (m_setUp)
        return;
    m_setUp = true;
    announceRegionsByContent();
    m_window = std::make_unique<InvoiceWindow>();
    buildPage();
    buildPanels();
    bindModel();
    showNewPage();
    watchPanelCancels();
    describeForAssistiveTechnology();
    showContents(m_pendingContents);
    // Each document applies its own file once; nothing is handed on to the next new window.
    m_pendingContents.reset();
    watchTable();
    updateChangeCount(ChangeCleared);
}

Result<void> Document::readAnew(const QByteArray &bytes)
{
    if (!m_setUp)
        return readFromData(bytes);
    const Result<Invoice> read = readInvoiceBytes(bytes);
    if (!read)
        return read.fault();
    // Back to the window as it stood built, before set-up showed a file in it; the table is not
    // watched meanwhile, as it is not while a new window shows its file.
    for (const QMetaObject::Connection &watcher : std::as_const(m_tableWatchers))
        disconnect(watcher);
    if (m_zoom != 1.0)
        setZoom(1.0);
    showNewPage();
    m_model->table()->setRows({});
    m_amountStale = false;
    m_dueStale = false;
    showContents(*read);
    watchTable();
    m_model->undoStack()->clear();
    updateChangeCount(ChangeCleared);
    return {};
}

void Document::showNewPage()
{
    m_model->setTitle(QStringLiteral("請求書"));
    region(SheetRegion::Customer)->setTitle(QString());
    m_model->setIssuer(QString());
    m_model->setAmountBox(emptyAmountBox());
    m_model->setStatement(std::nullopt);
    m_model->setPayment(0);
    m_model->setAmountsHidden(false);
    m_model->setMadeFrom(QString());
    m_model->setStamp(QImage());
    pushCtrl->setImage(QImage());
    m_shownHonorific.clear();
    keepCustomer();
}

void Document::showContents(const std::optional<Invoice> &invoice)
{
    m_model->setDate(QDate::currentDate());
    if (m_model->table()->count() == 0)
        m_model->table()->addRow(ItemRow::makeHeader());
    headLoad();
    whomLoad();
    homeLoad();
    pushInit();
    if (invoice) {
        applyContents(*invoice);
    } else {
        // A new invoice adds the tax on top, the common case between businesses, at the rate the
        // user chose for new invoices; an opened one keeps its own.
        m_model->setTaxOnTop(true);
        setTaxRate(TaxPreferences::load().rate);
        selectRememberedHonorific(); // of the customer the new invoice shows
    }
    john();
    // The page shows the file's own texts, whatever became of the lists: a list that could not
    // take the file's entry must not put another entry, or the window's default, in its place.
    if (invoice) {
        showContentsTexts(*invoice);
        m_model->formatUnitPricesBesideCurrency();
    } else {
        // A new invoice goes to the customer it shows as if chosen: with its address for the envelope.
        takeCustomerFromBook();
    }
    followAmountBox();
}

void Document::applyContents(const Invoice &invoice)
{
    QList<RowPtr> rows;
    rows.reserve(invoice.rows.size());
    for (const ItemRow &row : invoice.rows)
        rows.append(std::make_shared<ItemRow>(row));
    m_model->table()->addRows(rows);
    m_model->setJapaneseEra(invoice.japaneseEra);
    m_model->setTaxOnTop(invoice.taxOnTop);
    setTaxRate(invoice.taxRate);
    m_model->setWithholding(invoice.withholding);
    m_customers->setHonorificChoice(invoice.honorificChoice);
    if (invoice.amountBox)
        m_model->setAmountBox(*invoice.amountBox);
    setInvoiceNumber(invoice.number);
    setDueDate(invoice.dueDate);
    setRemarks(invoice.remarks);

    // The saved lists of titles, customers and issuers, by their keys.
    const std::pair<QString, const std::optional<QString> *> lists[] = {
        {QStringLiteral("head"), &invoice.title},
        {QStringLiteral("whom"), &invoice.customer},
        {QStringLiteral("from"), &invoice.issuer},
    };
    m_listFault.reset();
    // Each kind chooses its title from a list of its own.
    if (auto *titles = qobject_cast<SettingsListStore *>(m_titles->store());
        titles && titles->key() != titleListKey(invoice.kind)) {
        titles->useList(titleListKey(invoice.kind), startingTitles(invoice.kind));
        m_titles->load();
    }
    for (const auto &[key, value] : lists) {
        if (!value->has_value() || !m_teachesLists)
            continue; // a missing title, customer or issuer keeps the section's default
        listSection(key).load(findThru(key, *value));
    }
    setPeer(invoice.customerElectronicAddress);
    m_model->setCustomerAddress(invoice.customerAddress);
    m_model->setKind(invoice.kind);
    m_model->setPaper(invoice.paper);
    m_model->setStatement(invoice.statement);
    m_model->setPayment(invoice.payment);
    m_model->setAmountsHidden(invoice.amountsHidden);
    m_model->setMadeFrom(invoice.madeFrom);
    showCustomerAddress();
    if (m_listFault) // once for all three lists, when the window is on screen
        QMetaObject::invokeMethod(
            this, [this, fault = *m_listFault] { reportListFault(fault); }, Qt::QueuedConnection);
    clearGuideBorders();
    if (invoice.date.isValid())
        m_model->setDate(invoice.date);
}

qint64 Document::findThru(const QString &key, const std::optional<QString> &value)
{
    ListStore *store = listSection(key).store();
    if (!value || value->size() > LongestLearnedEntry || !store)
        return -1;
    const Result<qint64> found = store->findOrAdd(*value);
    if (!found) {
        if (!m_listFault)
            m_listFault = found.fault();
        return -1;
    }
    return *found;
}

void Document::john()
{
    dateLoad();
    for (ListSection *section : listSections()) {
        // No entry chosen (or gone from its store): the page keeps its text.
        if (const std::optional<ListEntry> entry = section->chosenEntry())
            showListEntry(*section, entry->text);
    }
}

void Document::watchTable()
{
    auto edited = [this] {
        updateChangeCount(ChangeDone);
        followAmountBox();
    };
    m_tableWatchers = {connect(m_model->table(), &QAbstractItemModel::rowsInserted, this, edited),
                       connect(m_model->table(), &QAbstractItemModel::rowsRemoved, this, edited),
                       connect(m_model->table(), &QAbstractItemModel::rowsMoved, this, edited),
                       connect(m_model->table(), &QAbstractItemModel::dataChanged, this, edited),
                       connect(m_model->table(), &QAbstractItemModel::modelReset, this, edited),
                       connect(m_model->table(), &QAbstractItemModel::layoutChanged, this, edited)};
}

void Document::showContentsTexts(const Invoice &invoice)
{
    if (invoice.title)
        m_model->setTitle(*invoice.title);
    if (invoice.customer)
        showListEntry(*m_customers, *invoice.customer);
    if (invoice.issuer)
        m_model->setIssuer(*invoice.issuer);
}

Result<void> Document::revertToContents(const QByteArray &bytes)
{
    if (Result<void> shown = showFileContents(bytes); !shown)
        return shown;
    m_model->undoStack()->clear();
    updateChangeCount(ChangeCleared);
    return {};
}

Result<void> Document::showFileContents(const QByteArray &bytes)
{
    const Result<Invoice> read = readInvoiceBytes(bytes);
    if (!read)
        return read.fault();
    m_model->table()->setRows({ItemRow::makeHeader()});
    applyContents(*read);
    john();
    showContentsTexts(*read);
    m_model->formatUnitPricesBesideCurrency();
    m_amountStale = false;
    followAmountBox();
    return {};
}

void Document::clearGuideBorders()
{
    if (m_page)
        m_page->clearGuides();
}

QList<QDialog *> Document::panels() const
{
    QList<QDialog *> all;
    const auto listPanel = [](const auto &section) -> QDialog * { return section ? section->panel() : nullptr; };
    for (QDialog *panel : std::initializer_list<QDialog *>{
             listPanel(m_titles), dateCtrl.get(), listPanel(m_customers), listPanel(m_issuers), sumsCtrl.get(),
             pushCtrl.get(), gridCtrl.get(), sumsFail.get(), gridSums.get(), gridFail.get(), numbCtrl.get(),
             duesCtrl.get(), noteCtrl.get(), paperCtrl.get(), amountsCtrl.get()}) {
        if (panel)
            all.append(panel);
    }
    return all;
}

QString Document::filename() const
{
    const auto safe = [](const QString &given) {
        // A slash would make the suggestion a folder: the full-width solidus reads the same. A
        // bidi override would make it read otherwise than it is, and the name must fit the file
        // system's 255 bytes: two parts of 40 UTF-16 units take at most 240.
        QString text = cutAtWholeCharacters(withoutFormatControls(given), 40);
        text.replace(QLatin1Char('/'), QChar(0xFF0F));
        text.replace(QChar(0), QChar(0xFFFD));
        return text;
    };
    // The customer's name as a bookkeeper files it: without the 御中 or 様 the page line carries.
    const QString customer = safe(m_model->customer());
    const QString number = safe(m_model->number().trimmed());
    // An invoice with a number is known by it, as a bookkeeper files it.
    if (!number.isEmpty())
        return customer.isEmpty() ? number : QStringLiteral("%1-%2").arg(number, customer);
    if (customer.isEmpty())
        return QCoreApplication::translate("Document", "Untitled");
    const QDate day = m_model->date();
    return QStringLiteral("%1-%2").arg(fileDateText(day), customer);
}

void Document::setFilePath(const QString &path)
{
    if (m_filePath == path)
        return;
    m_filePath = path;
    emit filePathChanged(path);
}

QString Document::displayName() const
{
    if (!m_filePath.isEmpty())
        return QFileInfo(m_filePath).fileName();
    if (m_untitledNumber <= 1)
        return QCoreApplication::translate("Document", "Untitled");
    return QCoreApplication::translate("Document", "Untitled %1").arg(m_untitledNumber);
}

void Document::setUntitledNumber(int number)
{
    if (m_untitledNumber == number)
        return;
    m_untitledNumber = number;
    emit filePathChanged(m_filePath); // the shown name changes as a new file name would change it
}

void Document::updateChangeCount(ChangeKind kind)
{
    const bool edited = kind == ChangeDone;
    if (edited)
        emit changed();
    if (m_edited == edited)
        return;
    m_edited = edited;
    emit editedChanged(edited);
}

// ---- sheets and popovers ----

QDialog *Document::shownSheet() const
{
    return m_shownSheet;
}

Popover *Document::shownPopover() const
{
    return m_shownPopover;
}

void Document::show(QDialog *panel)
{
    if (!panel)
        return;
    rememberPanelAtOpen(panel);
    panel->setWindowModality(Qt::WindowModal);
    panel->open();
    // Shown again within its session (after Add Sum, say), the table panel stays where it stood:
    // a dialog shown afresh is placed anew, by the window manager a title bar lower each time.
    if (panel == gridCtrl.get() && m_gridPlace)
        panel->move(*m_gridPlace);
    m_shownSheet = panel;
}

void Document::hide(QObject *)
{
    if (!m_shownSheet)
        return;
    if (m_shownSheet == gridCtrl.get())
        m_gridPlace = m_shownSheet->pos();
    m_shownSheet->done(QDialog::Accepted);
}

void Document::comeOver(Popover *popover, QWidget *view)
{
    if (!popover)
        return;
    popover->showRelativeTo(view);
    m_shownPopover = popover;
}

void Document::away(QObject *)
{
    if (!m_shownPopover)
        return;
    m_shownPopover->close();
    m_shownPopover.clear();
}

} // namespace seikyu
