#include "sections/DateText.h"

#include "table/UserLocale.h"

#include <QLocale>
#include <map>
#include <memory>
#include <mutex>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace seikyu {

namespace {

constexpr double MillisecondsPerDay = 86400000.0;

QString paddedYear(int year)
{
    const QString digits = QString::number(qAbs(qint64(year))).rightJustified(4, u'0');
    return year < 0 ? u'-' + digits : digits;
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

std::unique_ptr<icu::DateFormat> makeEraFormat(const QString &localeName)
{
    // A locale name that already carries keywords gets the calendar as one more keyword.
    const QString withCalendar = localeName + (localeName.contains(u'@') ? QStringLiteral(";calendar=japanese")
                                                                         : QStringLiteral("@calendar=japanese"));
    const icu::Locale locale(withCalendar.toLatin1().constData());
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, locale));
    if (!format)
        return nullptr;
    // The instant handed over is noon UTC of the day; formatted in the process's own zone a day
    // near an era change could show the neighbouring day and era.
    format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString(u"UTC")));
    return format;
}

/// A formatter of the locale's, cloned from one made once for the process: making one builds ICU's
/// calendar and its CLDR data (some 4 million instructions, more than laying out the rest of a
/// page), while a clone copies what is built. Each thread formats with a clone of its own, as a
/// formatter keeps the state of its calendar while it formats.
std::unique_ptr<icu::DateFormat> clonedEraFormat(const QString &localeName)
{
    static std::mutex mutex;
    static std::map<QString, std::unique_ptr<icu::DateFormat>> made;
    const std::lock_guard lock(mutex);
    auto found = made.find(localeName);
    if (found == made.end())
        found = made.emplace(localeName, makeEraFormat(localeName)).first;
    return found->second ? std::unique_ptr<icu::DateFormat>(found->second->clone()) : nullptr;
}

// The page date is drawn on every repaint; building the calendar and its CLDR data each time
// would be wasteful, so each thread keeps one formatter per locale name.
icu::DateFormat *eraFormat(const QString &localeName)
{
    thread_local std::map<QString, std::unique_ptr<icu::DateFormat>> formats;
    auto found = formats.find(localeName);
    if (found == formats.end())
        found = formats.emplace(localeName, clonedEraFormat(localeName)).first;
    return found->second.get();
}

} // namespace

QString westernDateText(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return paddedYear(date.year()) + u'年' + twoDigits(date.month()) + u'月' + twoDigits(date.day()) + u'日';
}

QString japaneseEraDateText(const QDate &date, const QString &localeName)
{
    if (!date.isValid())
        return QString();
    const QString name = localeName.isEmpty() ? userLocaleName() : localeName;
    icu::DateFormat *format = eraFormat(name);
    if (!format)
        return westernDateText(date);
    // Day arithmetic instead of QDateTime keeps the local zone out of the instant altogether.
    const double noonUtc =
        static_cast<double>(QDate(1970, 1, 1).daysTo(date)) * MillisecondsPerDay + MillisecondsPerDay / 2;
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    format->format(noonUtc, text, nullptr, status);
    if (U_FAILURE(status) || text.isEmpty())
        return westernDateText(date);
    return QString::fromUtf16(text.getBuffer(), text.length());
}

void prepareEraDates(const QString &localeName)
{
    static_cast<void>(clonedEraFormat(localeName));
}

QString fileDateText(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate parseFileDate(const QString &text)
{
    // Qt's format parser is strict here: no one-digit fields, no surrounding text, no other digits.
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QString rowDateText(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return twoDigits(date.month()) + u'-' + twoDigits(date.day());
}

} // namespace seikyu
