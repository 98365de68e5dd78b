#include "update/UpdateDecision.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QOperatingSystemVersion>
#include <QStringView>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/utsname.h>
#endif

namespace seikyu {

namespace {

// Version components are read leniently, the way the update file has always been read: leading
// white space, an optional sign, then the leading decimal digits; no digits reads as 0. The value
// saturates far below where major × 100 + minor could overflow.
qint64 leadingInteger(QStringView text)
{
    constexpr qint64 limit = qint64(1) << 40;
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
        value = std::min(limit, value * 10 + (text.at(i).unicode() - u'0'));
    return negative ? -value : value;
}

// major × 100 + minor from "major.minor[.more…]"; false when there are fewer than two components.
bool versionNumber(const QString &dotted, qint64 *number)
{
    const QList<QStringView> parts = QStringView(dotted).split(u'.');
    if (parts.size() < 2)
        return false;
    *number = leadingInteger(parts.at(0)) * 100 + leadingInteger(parts.at(1));
    return true;
}

} // namespace

bool updateNoticeWanted(const QByteArray &updateFile, const QString &appName, const QString &appVersion, int osVersion)
{
    if (appVersion.isEmpty())
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(updateFile);
    if (!document.isArray())
        return false;

    const QJsonArray entries = document.array();
    const auto ours = std::find_if(entries.begin(), entries.end(), [&appName](const QJsonValue &entry) {
        // Entries of other shapes cannot be this application's; like other applications' entries,
        // they must not hide the one that is.
        const QJsonValue name = entry.toObject().value(QLatin1String("name"));
        return name.isString() && name.toString() == appName;
    });
    if (ours == entries.end())
        return false;
    const QJsonObject entry = (*ours).toObject();

    const QJsonValue dots = entry.value(QLatin1String("dots"));
    qint64 required = 0;
    if (!dots.isUndefined() && !(dots.isString() && versionNumber(dots.toString(), &required)))
        return false;
    if (osVersion < required)
        return false;

    const QJsonValue published = entry.value(QLatin1String("vers"));
    if (!published.isString())
        return false;
    // Plain text order, UTF-16 unit by unit with a prefix first: the update file's versions have
    // always been compared this way, so 1.10 orders before 1.9.
    return QString::compare(appVersion, published.toString(), Qt::CaseSensitive) < 0;
}

int osVersionNumber()
{
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    if (os.type() != QOperatingSystemVersion::Unknown && os.majorVersion() >= 0)
        return os.majorVersion() * 100 + std::max(os.minorVersion(), 0);
#ifdef Q_OS_UNIX
    // Qt knows no version for Linux; the kernel's major.minor is the closest thing the update
    // file's "dots" can be held against.
    utsname names{};
    qint64 number = 0;
    if (uname(&names) == 0 && versionNumber(QString::fromLocal8Bit(names.release), &number))
        return static_cast<int>(std::clamp<qint64>(number, 0, 1'000'000));
#endif
    return 0;
}

QUrl productPageUrl(const QString &baseUrl, const QString &appName)
{
    const QString lower = appName.toLower();
    QString page;
    page.reserve(lower.size());
    for (const char32_t c : lower.toUcs4()) {
        if (QChar::isLetterOrNumber(c) || QChar::isMark(c))
            page.append(QStringView(QChar::fromUcs4(c)));
    }
    return QUrl(baseUrl + QString::fromLatin1(QUrl::toPercentEncoding(page)) + QLatin1String(".html"));
}

} // namespace seikyu
