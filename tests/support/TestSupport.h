// What the tests of a document and its window share: the classes they drive, the widgets they
// look at, and helpers for settings, files, prompts and failures.
#pragma once

#include "app/DocumentController.h"
#include "customers/Customer.h"
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "invoice/ItemTableModel.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"
#include "widgets/RoomBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace seikyu::test {

/// Names the application as the real one does and starts every test from empty user settings.
void initApplication();
/// Names the application as the real one does, leaving the user settings as they are: for a child
/// process that reads what its test wrote.
void nameApplication();
/// Whether every top-level window is hidden.
bool noWindowShown();
/// Removes every user setting (lists, stamp, recent files).
void clearSettings();

/// A prompter whose answers the test scripts; it records what it was asked. A question without an
/// answer left is cancelled.
class ScriptedPrompter : public Prompter
{
public:
    QStringList openAnswers, saveAnswers;
    QList<SaveChoice> saveChoices;
    QList<bool> proceedAnswers;                             ///< to askToProceed
    QList<int> choiceAnswers;                               ///< to askToChoose
    QList<std::optional<DuplicateChoice>> duplicateAnswers; ///< to askDuplicate
    QStringList alerts, questions, notes;                   ///< "text | informative" of each (notes: inform)
    QStringList saveProposals;                              ///< the path each save dialog proposed
    QStringList asked;                                      ///< the document each save-changes question named
    QList<DuplicateChoice> duplicateOffers;                 ///< what each Duplicate question offered

    QStringList openFileNames(QWidget *, const QString &, const QString &) override
    {
        return openAnswers.isEmpty() ? QStringList() : QStringList{openAnswers.takeFirst()};
    }
    QString openFileName(QWidget *, const QString &, const QString &) override { return next(openAnswers, {}); }
    QString saveFileName(QWidget *, const QString &, const QString &proposed, const QString &, const QString &) override
    {
        saveProposals.append(proposed);
        return next(saveAnswers, {});
    }
    SaveChoice askSaveChanges(QWidget *, const QString &name) override
    {
        asked.append(name);
        return next(saveChoices, SaveChoice::Cancel);
    }
    int askToChoose(QWidget *, const QString &text, const QString &informative, const QStringList &) override
    {
        questions.append(text + QStringLiteral(" | ") + informative);
        return next(choiceAnswers, -1);
    }
    bool askToProceed(QWidget *, const QString &text, const QString &informative, const QString &) override
    {
        questions.append(text + QStringLiteral(" | ") + informative);
        return next(proceedAnswers, false);
    }
    std::optional<DuplicateChoice> askDuplicate(QWidget *, const DuplicateChoice &offered) override
    {
        duplicateOffers.append(offered);
        return next(duplicateAnswers, std::optional<DuplicateChoice>());
    }
    void alert(QWidget *, const QString &text, const QString &informative) override
    {
        alerts.append(text + QStringLiteral(" | ") + informative);
    }
    void inform(QWidget *, const QString &text, const QString &informative) override
    {
        notes.append(text + QStringLiteral(" | ") + informative);
    }

private:
    template <typename T> static T next(QList<T> &answers, const std::type_identity_t<T> &none)
    {
        return answers.isEmpty() ? none : answers.takeFirst();
    }
};

/// Installs a scripted prompter for the life of the guard and hands it to the test.
class PrompterGuard
{
public:
    PrompterGuard();
    ~PrompterGuard();
    ScriptedPrompter *operator->() const { return m_prompter; }
    ScriptedPrompter &operator*() const { return *m_prompter; }

private:
    ScriptedPrompter *m_prompter;
};

/// An amount as the table shows it in yen, "￥1,200" or "-￥500".
QString yen(qint64 amount);

/// What `of` (a function or a member) gives for each of `items`, in their order.
template <typename Items, typename Of> auto each(const Items &items, Of of)
{
    QList<std::decay_t<std::invoke_result_t<Of, decltype(*std::begin(items))>>> results;
    for (const auto &item : items)
        results.append(std::invoke(of, item));
    return results;
}

/// A set-up document, optionally from file bytes (which must read).
std::unique_ptr<Document> makeDocument(const QByteArray &fileBytes = {});

/// A saved invoice's bytes: one item, its sums at 10 %, dated `date` (yyyy-MM-dd), due `due`.
QByteArray invoiceBytes(const QString &customer, qint64 amount, const QString &number, const QString &date,
                        const QString &due = QStringLiteral("2026-04-30"));

/// Writes a test's fixture file (making its folder); stops the test run when it cannot.
QString writeFile(const QString &path, const QByteArray &bytes);

/// An image as the bytes of a file of that format ("PNG", "JPEG").
QByteArray encodedImage(const QImage &image, const char *format);

/// How many files of the recovery store match `pattern` ("*.seikyu": recovery copies, "*.saved":
/// the versions Revert goes back to).
int recoveryFiles(const QString &pattern);

/// The whole content of a file; empty when it cannot be read.
QByteArray readAll(const QString &path);

/// The SHA-256 of `bytes` in lower-case hex, as the ledger keeps a PDF's.
QString sha256Hex(const QByteArray &bytes);

/// A saved list as a fresh read gives it; "<absent>" alone when there is none.
QStringList savedList(const char *key);

/// Adds customers of these names to the user's customer book, with the readings given (by
/// position).
void storeCustomers(const QStringList &names, const QStringList &readings = {});
/// The customers of the user's customer book, in its order (by reading, then name).
QList<Customer> bookCustomers();
QStringList bookCustomerNames();
/// The customer of that name in the user's customer book; an empty one when there is none.
Customer bookCustomer(const QString &name);

/// The texts of every cell of the table, row by row, "date|name|solo|much|sums".
QStringList tableTexts(const Document &document);

/// Whether any region of the page shows its guide border.
bool anyGuideBorder(const Document &document);

/// The window's element of that name; stops the test run when there is none.
QObject *namedElement(const Document &document, const QString &name);
template <typename T = QWidget> T *child(const Document &document, const QString &name)
{
    return qobject_cast<T *>(namedElement(document, name));
}
/// Clicks the window's button of that name.
void click(const Document &document, const QString &button);
/// Clicks the customer panel's honorific segment (0 御中, 1 様) as a person does.
void chooseHonorific(const Document &document, int segment);

} // namespace seikyu::test
