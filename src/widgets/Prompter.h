#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

namespace seikyu {

/// Every question the application asks through a modal dialog goes through here, so tests can
/// script the answers instead of racing the dialogs.
class Prompter
{
public:
    enum class SaveChoice { Save, DontSave, Cancel };
    /// How next month's invoice is made from this one.
    struct DuplicateChoice
    {
        /// A choice about the sums alone (as the question once asked) moves the dates as by default;
        /// without a date the copy is dated as offered.
        DuplicateChoice(bool keep = false, bool move = true, const QDate &day = {}, const QDate &original = {})
            : keepSums(keep), moveRowDates(move), date(day), from(original)
        {}
        bool keepSums = false;    ///< the copy keeps the sums rows and the invoice amount
        bool moveRowDates = true; ///< the rows' dates move by as many months as the invoice date
        QDate date;               ///< the copy's invoice date
        QDate from;               ///< the original's invoice date, shown for comparison (not a choice)
        bool operator==(const DuplicateChoice &) const = default;
    };

    virtual ~Prompter() = default;

    static Prompter &instance();
    /// Replaces the prompter (tests); nullptr restores the dialogs.
    static void setInstance(std::unique_ptr<Prompter> prompter);

    virtual QStringList openFileNames(QWidget *parent, const QString &caption, const QString &filter);
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &filter);
    /// A save dialog proposing the name; the default suffix is added when the user typed none.
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                                 const QString &filter, const QString &defaultSuffix);
    virtual SaveChoice askSaveChanges(QWidget *parent, const QString &documentName);
    /// A warning that asks whether to go on: true when the user chooses the `proceed` button, false
    /// on Cancel (the default answer).
    virtual bool askToProceed(QWidget *parent, const QString &text, const QString &informative, const QString &proceed);
    /// A warning with several ways on and Cancel (the default answer): the index of the chosen
    /// way, or -1 for Cancel.
    virtual int askToChoose(QWidget *parent, const QString &text, const QString &informative,
                            const QStringList &choices);
    /// How to make next month's invoice from this one (the boxes start as `offered`); nothing on
    /// Cancel.
    virtual std::optional<DuplicateChoice> askDuplicate(QWidget *parent, const DuplicateChoice &offered);
    virtual void alert(QWidget *parent, const QString &text, const QString &informative);
    virtual void inform(QWidget *parent, const QString &text, const QString &informative);
};

} // namespace seikyu
