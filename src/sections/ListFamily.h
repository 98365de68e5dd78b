#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;

namespace seikyu {

class PageButton;
class Popover;
class RoomBox;

/// What tells the title, customer and issuer sections apart. The nine operations of the three
/// sections are written once over this description.
struct ListFamily
{
    QString key; ///< the saved list: "head", "whom" or "from"
    QPointer<PageButton> pageButton;
    QPointer<RoomBox> room;
    QDialog *panel = nullptr;
    QPointer<QComboBox> dial;
    Popover *plusPopover = nullptr;
    Popover *killPopover = nullptr;
    Popover *editPopover = nullptr;
    QList<QPointer<QLineEdit>> newsFields; ///< one field, or the issuer's five
    QList<QPointer<QLineEdit>> editFields;
    /// The honorific that follows an entry on the page (the customer's 御中 or 様); none for the
    /// other sections, and empty when no honorific is chosen.
    std::function<QString()> honorific;
    /// The honorific the page line carries now, as it was composed: what the file writer takes off
    /// again to store the bare name.
    QString shownHonorific;
};

/// One saved entry from its fields: the texts joined by line feeds (a single field is the entry).
QString joinEntryFields(const QStringList &fields);
/// The texts for the fields of an entry: a single field takes the whole entry; several fields take
/// one line each, missing lines empty and lines beyond the last field left out.
QStringList splitEntryFields(const QString &entry, int fieldCount);

} // namespace seikyu
