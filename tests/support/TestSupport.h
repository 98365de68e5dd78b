#pragma once

#include "widgets/Prompter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace seikyu {
class Document;
}

namespace seikyu::test {

/// Names the application as the real one does and starts every test from empty user settings.
void initApplication();
/// Removes every user setting (lists, stamp, recent files).
void clearSettings();

/// A prompter whose answers the test scripts; it records what it was asked.
class ScriptedPrompter : public Prompter
{
public:
    QStringList openAnswers;
    QStringList saveAnswers;
    QList<SaveChoice> saveChoices;
    QStringList alerts; ///< "text | informative" of every alert shown
    QStringList informs;
    QStringList saveProposals;  ///< the paths proposed by each save dialog
    QList<bool> proceedAnswers; ///< answers to askToProceed; Cancel when none is left
    QStringList questions;      ///< "text | informative" of every askToProceed and askToChoose
    QList<int> choiceAnswers;   ///< answers to askToChoose; Cancel (-1) when none is left
    QStringList asked;          ///< the document each save-changes question named
    /// Answers to askDuplicate (whether to keep the sums); Cancel when none is left.
    QList<std::optional<bool>> duplicateAnswers;
    QList<bool> duplicateOffers; ///< what each Duplicate question offered to keep

    QStringList openFileNames(QWidget *, const QString &, const QString &) override;
    QString openFileName(QWidget *, const QString &, const QString &) override;
    QString saveFileName(QWidget *, const QString &, const QString &proposedPath, const QString &,
                         const QString &) override;
    SaveChoice askSaveChanges(QWidget *, const QString &) override;
    int askToChoose(QWidget *, const QString &text, const QString &informative, const QStringList &) override;
    bool askToProceed(QWidget *, const QString &text, const QString &informative, const QString &) override;
    std::optional<bool> askDuplicate(QWidget *, bool keepSums) override;
    void alert(QWidget *, const QString &text, const QString &informative) override;
    void inform(QWidget *, const QString &text, const QString &informative) override;
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

/// A set-up document, optionally from file bytes (which must read).
std::unique_ptr<Document> makeDocument(const QByteArray &fileBytes = {});

/// Writes a test's fixture file (making its folder); stops the test run when it cannot.
QString writeFile(const QString &path, const QByteArray &bytes);

/// The whole content of a file; empty when it cannot be read.
QByteArray readAll(const QString &path);

/// Lowers the largest file this process may write, which fails writes the way a full disk does
/// (and, unlike permissions, also for root). SIGXFSZ is ignored meanwhile so that the write fails
/// instead of killing the process.
class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

/// The texts of every cell of the table, row by row, "date|name|solo|much|sums".
QStringList tableTexts(const Document &document);

} // namespace seikyu::test
