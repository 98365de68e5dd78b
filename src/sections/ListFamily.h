#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QDialog;
class QLineEdit;
class QWidget;

namespace seikyu {

class ListStore;
class PageButton;
class Popover;
class RoomBox;

/// Where each popup item of a list section keeps the whole entry it stands for, and the key its
/// store knows the entry by.
constexpr int EntryRole = Qt::UserRole;
constexpr int EntryKeyRole = Qt::UserRole + 1;

/// What tells the title, customer and issuer sections apart. The nine operations of the three
/// sections are written once over this description.
struct ListFamily
{
    QString key; ///< the saved list: "head", "whom" or "from"
    /// Where the entries are kept (the document owns it).
    QPointer<ListStore> store;
    /// Narrows the popup to the entries a search finds, for a store that offers a search.
    QPointer<QLineEdit> search;
    QPointer<PageButton> pageButton;
    QPointer<RoomBox> room;
    QDialog *panel = nullptr;
    QPointer<QComboBox> dial;
    Popover *plusPopover = nullptr;
    Popover *killPopover = nullptr;
    Popover *editPopover = nullptr;
    QList<QPointer<QLineEdit>> newsFields; ///< one field, or the issuer's five
    QList<QPointer<QLineEdit>> editFields;
    /// How many fields every entry keeps, empty or not; empty fields after them are left out, so
    /// an entry without the optional ones stays as entries always were.
    int requiredFields = 0;
    /// Checks and tidies the fields of an entry before it is stored; nothing to keep the popover
    /// open (the user was told why).
    std::function<std::optional<QStringList>(const QStringList &fields, QWidget *parent)> acceptFields;
    /// The honorific that follows an entry on the page (the customer's 御中 or 様); none for the
    /// other sections, and empty when no honorific is chosen.
    std::function<QString()> honorific;
    /// What else choosing an entry (the panel's OK) does, given the entry's key: the customer
    /// brings its honorific, address and terms from the book.
    std::function<void(qint64 key)> chosen;
    /// The question before an entry is removed.
    QString removeQuestion;
    /// The honorific the page line carries now, as it was composed: what the file writer takes off
    /// again to store the bare name.
    QString shownHonorific;
};

/// The longest text an opened file teaches a saved list. Real titles, names and addresses run to a
/// few hundred characters; a longer one comes from a damaged or hostile file, and kept in the lists
/// it would slow every later write of the user's settings. The page and the file keep it whole.
constexpr qsizetype LongestLearnedEntry = 4096;

/// One saved entry from its fields: the texts joined by line feeds (a single field is the entry),
/// without the empty fields that follow the first `requiredFields`.
QString joinEntryFields(QStringList fields, int requiredFields = 0);
/// The texts for the fields of an entry: a single field takes the whole entry; several fields take
/// one line each, missing lines empty and lines beyond the last field left out.
QStringList splitEntryFields(const QString &entry, int fieldCount);

} // namespace seikyu
