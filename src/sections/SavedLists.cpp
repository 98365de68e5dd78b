#include "sections/SavedLists.h"

#include <QSettings>

namespace seikyu {

namespace {
const QString sizeKey = QStringLiteral("size");
const QString entryKey = QStringLiteral("entry");
const QString stampKey = QStringLiteral("hank");
} // namespace

int followEntry(int selected, const QString &selectedText, const ListChange &change, const QStringList &list)
{
    if (selected < 0)
        return -1;
    int kept = selected;
    switch (change.kind) {
    case ListChange::Kind::Appended:
    case ListChange::Kind::Edited:
        break;
    case ListChange::Kind::Removed:
        if (selected == change.index)
            return -1;
        if (selected > change.index)
            --kept;
        break;
    case ListChange::Kind::Replaced:
        if (selected < list.size() && list.at(selected) == selectedText)
            return selected;
        return static_cast<int>(list.indexOf(selectedText));
    }
    return kept < list.size() ? kept : -1;
}

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
    const int claimed = size.toInt(&ok);
    if (!size.isValid() || !ok || claimed < 0)
        return std::nullopt;
    // The stored size is only a claim: a damaged file may say two thousand million. Read up to the
    // highest entry that is really there, so such a file costs nothing.
    settings.beginGroup(entryKey);
    int present = 0;
    for (const QString &child : settings.childKeys()) {
        bool isIndex = false;
        const int index = child.toInt(&isIndex);
        if (isIndex && index >= 1 && index <= claimed)
            present = std::max(present, index);
    }
    QStringList list;
    list.reserve(present);
    for (int i = 1; i <= present; ++i) {
        const QVariant entry = settings.value(QString::number(i));
        // A damaged entry reads as empty text rather than shifting the indexes of the rest.
        list.append(entry.typeId() == QMetaType::QString ? entry.toString() : QString());
    }
    return list;
}

void SavedLists::save(const QStringList &list, const QString &key, const ListChange &change)
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
    emit listChanged(key, change);
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
