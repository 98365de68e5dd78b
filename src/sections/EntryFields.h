#pragma once

#include <QString>
#include <QStringList>

namespace seikyu {

/// Where each chooser item of a list section keeps the whole entry it stands for, and the key its
/// store knows the entry by.
constexpr int EntryRole = Qt::UserRole;
constexpr int EntryKeyRole = Qt::UserRole + 1;

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
