#pragma once

#include "customers/Customer.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace seikyu {

class CustomerBook;
class CustomerForm;

/// Window ▸ Customers: the customer book, searched by name or reading, each customer edited in
/// place and stored as soon as a field is left; customers added, removed, imported from and
/// exported to CSV.
class CustomerBookWindow : public QWidget
{
    Q_OBJECT

public:
    /// The one window, shown and raised, on the book at its usual place.
    static CustomerBookWindow *showWindow();
    /// A window on the book at `path` (tests give their own).
    explicit CustomerBookWindow(const QString &path, QWidget *parent = nullptr);
    ~CustomerBookWindow() override;

    /// Reads a customer list and, once the user has seen what it holds, adds its customers. The
    /// number added.
    int importFrom(const QString &path);
    /// Writes every customer as CSV in UTF-8 or Shift_JIS; false, with the reason shown, when not.
    bool exportTo(const QString &path, bool shiftJis);
    /// Shows the customer of the identity, whatever was searched for.
    void showCustomer(qint64 id);

private:
    void refresh(qint64 select = 0);
    void showSelected();
    void storeForm();
    void addCustomer();
    void removeCustomer();
    void chooseImport();
    void chooseExport();
    void showProblem(const QString &problem);
    /// Tells the invoice windows' customer panels that the book changed.
    void announceChange();

    std::unique_ptr<CustomerBook> m_book;
    QLineEdit *m_search = nullptr;
    QListWidget *m_list = nullptr;
    CustomerForm *m_form = nullptr;
    QPushButton *m_remove = nullptr;
    QLabel *m_problem = nullptr;
};

} // namespace seikyu
