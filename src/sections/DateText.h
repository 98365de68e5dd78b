#pragma once

#include <QDate>
#include <QString>

namespace seikyu {

/// The Western page date: "yyyy年MM月dd日" (2026年12月05日).
QString westernDateText(const QDate &date);

/// The long date of the Japanese imperial calendar in the given locale (ICU, CLDR data):
/// ja_JP 令和8年12月5日, en_US "December 5, 8 Reiwa". An empty locale name means QLocale().
QString japaneseEraDateText(const QDate &date, const QString &localeName = QString());

/// Makes the locale's era formatter, which japaneseEraDateText() then copies on any thread: called
/// on a thread of its own at the start of an export, so that the page's layout need not wait for
/// it. The locale name is userLocaleName()'s, read by the caller (QLocale is the main thread's).
void prepareEraDates(const QString &localeName);

/// The page date for the era check box state.
inline QString pageDateText(const QDate &date, bool japaneseEra)
{
    return japaneseEra ? japaneseEraDateText(date) : westernDateText(date);
}

/// The file's date text "yyyy-MM-dd", and its reading (an invalid QDate when it does not parse).
QString fileDateText(const QDate &date);
QDate parseFileDate(const QString &text);

/// The "MM-dd" of a new table row.
QString rowDateText(const QDate &date);

} // namespace seikyu
