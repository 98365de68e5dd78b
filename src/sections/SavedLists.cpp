#include "sections/SavedLists.h"

#include <QSettings>

namespace seikyu {

namespace {
const QString sizeKey = QStringLiteral("size");
const QString entryKey = QStringLiteral("entry");
const QString stampKey = QStringLiteral("hank");
} // namespace

SavedLists &SavedLists::instance()
{
    static SavedLists store;
    return store;
}

std::optional<QStringList> SavedLists::read(const QString &key) const
{
    QSettings settings;
    settings.beginGroup(key);
    const QVariant size = settings.value(sizeKey);
    bool ok = false;
    const int count = size.toInt(&ok);
    if (!size.isValid() || !ok || count < 0) {
        settings.endGroup();
        return std::nullopt;
    }
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QVariant entry = settings.value(QStringLiteral("%1/%2").arg(entryKey).arg(i + 1));
        // A damaged entry reads as empty text rather than shifting the indexes of the rest.
        list.append(entry.typeId() == QMetaType::QString ? entry.toString() : QString());
    }
    settings.endGroup();
    return list;
}

void SavedLists::save(const QStringList &list, const QString &key)
{
    {
        QSettings settings;
        settings.remove(key);
        settings.beginGroup(key);
        settings.setValue(sizeKey, static_cast<int>(list.size()));
        for (int i = 0; i < list.size(); ++i)
            settings.setValue(QStringLiteral("%1/%2").arg(entryKey).arg(i + 1), list.at(i));
        settings.endGroup();
        settings.sync();
        m_lastWriteOk = settings.status() == QSettings::NoError;
    }
    emit listChanged(key);
}

QByteArray SavedLists::stamp() const
{
    QSettings settings;
    const QVariant value = settings.value(stampKey);
    if (value.typeId() != QMetaType::QByteArray)
        return {};
    return value.toByteArray();
}

void SavedLists::setStamp(const QByteArray &png)
{
    QSettings settings;
    settings.setValue(stampKey, png);
    settings.sync();
    m_lastWriteOk = settings.status() == QSettings::NoError;
}

void SavedLists::removeStamp()
{
    QSettings settings;
    settings.remove(stampKey);
    settings.sync();
    m_lastWriteOk = settings.status() == QSettings::NoError;
}

} // namespace seikyu
