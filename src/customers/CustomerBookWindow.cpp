#include "customers/CustomerBookWindow.h"

#include "customers/CustomerBook.h"
#include "customers/CustomerBookStore.h"
#include "customers/CustomerCsv.h"
#include "customers/CustomerForm.h"
#include "customers/CustomerImportPreview.h"
#include "customers/CustomerMigration.h"
#include "document/AtomicWrite.h"
#include "import/CsvFile.h"
#include "widgets/Prompter.h"
#include "widgets/WindowFront.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

constexpr int IdRole = Qt::UserRole;

} // namespace

CustomerBookWindow *CustomerBookWindow::showWindow()
{
    static QPointer<CustomerBookWindow> window;
    if (!window) {
        window = new CustomerBookWindow(CustomerBook::defaultPath());
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    bringToFront(window);
    return window;
}

CustomerBookWindow::CustomerBookWindow(const QString &path, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("customerBook"));
    setWindowTitle(tr("Customers"));
    resize(820, 560);
    auto *layout = new QVBoxLayout(this);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    layout->addWidget(m_problem);

    auto *panes = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("customerSearch"));
    m_search->setPlaceholderText(tr("Search by name or reading"));
    m_search->setClearButtonEnabled(true);
    left->addWidget(m_search);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("customerList"));
    left->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    auto *add = new QPushButton(tr("New Customer"), this);
    add->setObjectName(QStringLiteral("addCustomer"));
    m_remove = new QPushButton(tr("Remove"), this);
    m_remove->setObjectName(QStringLiteral("removeCustomer"));
    buttons->addWidget(add);
    buttons->addWidget(m_remove);
    left->addLayout(buttons);
    auto *files = new QHBoxLayout;
    auto *importButton = new QPushButton(tr("Import CSV…"), this);
    auto *exportButton = new QPushButton(tr("Export CSV…"), this);
    files->addWidget(importButton);
    files->addWidget(exportButton);
    left->addLayout(files);
    panes->addLayout(left, 2);
    m_form = new CustomerForm(this);
    panes->addWidget(m_form, 3);
    layout->addLayout(panes, 1);

    connect(m_search, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(m_list, &QListWidget::currentRowChanged, this, &CustomerBookWindow::showSelected);
    connect(m_form, &CustomerForm::edited, this, &CustomerBookWindow::storeForm);
    connect(add, &QPushButton::clicked, this, &CustomerBookWindow::addCustomer);
    connect(m_remove, &QPushButton::clicked, this, &CustomerBookWindow::removeCustomer);
    connect(importButton, &QPushButton::clicked, this, &CustomerBookWindow::chooseImport);
    connect(exportButton, &QPushButton::clicked, this, &CustomerBookWindow::chooseExport);
    // A customer added, renamed or removed in an invoice's customer panel shows here at once.
    connect(&CustomerBookNews::instance(), &CustomerBookNews::changed, this,
            [this](const ListChange &, const QObject *origin) {
                if (origin != this)
                    refresh();
            });

    Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(path);
    if (!book) {
        // The window stays, empty and unable to change anything, and says why.
        showProblem(book.message());
        for (QWidget *control :
             std::initializer_list<QWidget *>{m_search, m_list, m_form, add, m_remove, importButton, exportButton})
            control->setEnabled(false);
        return;
    }
    m_book = std::move(*book);
    // The customer lists of earlier versions come into the book the first time it is opened.
    if (const Result<int> moved = moveOldCustomerListsInto(*m_book); !moved)
        showProblem(moved.message());
    else if (*moved > 0)
        announceChange();
    refresh();
}

CustomerBookWindow::~CustomerBookWindow() = default;

void CustomerBookWindow::showProblem(const QString &problem)
{
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
}

void CustomerBookWindow::refresh(qint64 select)
{
    if (!m_book)
        return;
    const qint64 current =
        select ? select : (m_list->currentItem() ? m_list->currentItem()->data(IdRole).toLongLong() : 0);
    const Result<QList<Customer>> found = m_book->search(m_search->text());
    if (!found) {
        showProblem(found.message());
        return;
    }
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    int row = -1;
    for (const Customer &customer : *found) {
        auto *item = new QListWidgetItem(customer.name, m_list);
        item->setData(IdRole, customer.id);
        item->setToolTip(customer.kana);
        if (customer.id == current)
            row = m_list->count() - 1;
    }
    m_list->setCurrentRow(row >= 0 ? row : (m_list->count() > 0 ? 0 : -1));
    showSelected();
}

void CustomerBookWindow::showCustomer(qint64 id)
{
    const QSignalBlocker quiet(m_search);
    m_search->clear();
    refresh(id);
}

void CustomerBookWindow::announceChange()
{
    CustomerBookNews::instance().announce({}, this);
}

void CustomerBookWindow::showSelected()
{
    QListWidgetItem *item = m_list->currentItem();
    m_form->setEnabled(item != nullptr);
    m_remove->setEnabled(item != nullptr);
    if (!item) {
        m_form->setCustomer(Customer());
        return;
    }
    const Result<Customer> customer = m_book->byId(item->data(IdRole).toLongLong());
    if (!customer) {
        showProblem(customer.message());
        return;
    }
    showProblem(QString());
    m_form->setCustomer(*customer);
}

void CustomerBookWindow::storeForm()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!m_book || !item)
        return;
    const Customer customer = m_form->customer();
    if (const Result<void> stored = m_book->update(customer); !stored) {
        showProblem(stored.message());
        return;
    }
    showProblem(m_form->termsAreReadable() ? QString()
                                           : tr("The payment terms were not understood and were not stored."));
    announceChange();
    if (item->text() != customer.name || item->toolTip() != customer.kana)
        refresh(customer.id); // renamed: it may sort elsewhere now
}

void CustomerBookWindow::addCustomer()
{
    if (!m_book)
        return;
    Customer customer;
    customer.name = tr("New Customer");
    const Result<qint64> id = m_book->add(customer);
    if (!id) {
        showProblem(id.message());
        return;
    }
    announceChange();
    m_search->clear();
    refresh(*id);
    if (QWidget *name = m_form->findChild<QWidget *>(QStringLiteral("customerName"))) {
        name->setFocus();
        if (auto *field = qobject_cast<QLineEdit *>(name))
            field->selectAll();
    }
}

void CustomerBookWindow::removeCustomer()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!m_book || !item)
        return;
    if (!Prompter::instance().askToProceed(this, tr("Remove %1 from the customer book?").arg(item->text()),
                                           tr("Invoices already made for this customer keep its name and address."),
                                           tr("Remove")))
        return;
    if (const Result<void> removed = m_book->remove(item->data(IdRole).toLongLong()); !removed) {
        showProblem(removed.message());
        return;
    }
    announceChange();
    refresh();
}

int CustomerBookWindow::importFrom(const QString &path)
{
    if (!m_book)
        return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumRowFileBytes) {
        Prompter::instance().alert(this, tr("The customer list could not be read."), QDir::toNativeSeparators(path));
        return 0;
    }
    const Result<CustomerImport> read = readCustomerCsv(file.readAll());
    if (!read) {
        Prompter::instance().alert(this, tr("The customer list could not be read."), read.message());
        return 0;
    }
    if (read->customers.isEmpty()) {
        Prompter::instance().alert(this, tr("The file holds no customer that can be added."),
                                   describeSkippedLines(read->skipped));
        return 0;
    }
    if (!confirmCustomerImport(this, *read))
        return 0;
    const Result<QList<qint64>> added = m_book->addAll(read->customers);
    if (!added) {
        Prompter::instance().alert(this, tr("The customers could not be added."), added.message());
        return 0;
    }
    announceChange();
    refresh(added->isEmpty() ? 0 : added->front());
    return int(added->size());
}

bool CustomerBookWindow::exportTo(const QString &path, bool shiftJis)
{
    if (!m_book)
        return false;
    const Result<QList<Customer>> everyone = m_book->all();
    Result<QByteArray> bytes =
        everyone ? customerCsv(*everyone, shiftJis ? CustomerCsvEncoding::ShiftJis : CustomerCsvEncoding::Utf8)
                 : Result<QByteArray>(everyone.fault());
    Result<void> written = bytes ? writeFileAtomically(path, *bytes) : Result<void>(bytes.fault());
    if (!written) {
        Prompter::instance().alert(this, tr("The customer list could not be written."), written.message());
        return false;
    }
    return true;
}

void CustomerBookWindow::chooseImport()
{
    const QString path = Prompter::instance().openFileName(this, tr("Import Customers"),
                                                           tr("Customer lists (*.csv *.txt);;All files (*)"));
    if (!path.isEmpty())
        importFrom(path);
}

void CustomerBookWindow::chooseExport()
{
    const int encoding = Prompter::instance().askToChoose(
        this, tr("Export the customer list as CSV"),
        tr("UTF-8 suits current spreadsheets; Shift_JIS suits older Japanese software."),
        {QStringLiteral("UTF-8"), QStringLiteral("Shift_JIS")});
    if (encoding < 0)
        return;
    const QString path =
        Prompter::instance().saveFileName(this, tr("Export Customers"), QDir::home().filePath(tr("customers.csv")),
                                          tr("CSV files (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty())
        exportTo(path, encoding == 1);
}

} // namespace seikyu
