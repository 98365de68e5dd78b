#include "ledger/LedgerAnchor.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <algorithm>
#include <unistd.h>

namespace seikyu {

namespace {

bool isHash(const QString &text)
{
    if (text.size() != 64)
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

QByteArray anchorBytes(const QList<LedgerAnchor> &anchors)
{
    QJsonArray list;
    for (const LedgerAnchor &anchor : anchors)
        list.append(QJsonObject{{QStringLiteral("ledger"), anchor.identity},
                                {QStringLiteral("place"), anchor.place},
                                {QStringLiteral("id"), QString::number(anchor.id)},
                                {QStringLiteral("hash"), anchor.hash}});
    return QJsonDocument(QJsonObject{{QStringLiteral("anchors"), list}}).toJson();
}

/// Replaces the file with the bytes: on disk before the new name is, owner-only from the start.
Result<void> writeSynced(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
        file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0 || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Fault{FaultKind::Unwritable, reason};
    }
    // The folder is not synced: a rename lost to a power cut leaves the older anchor, one that
    // lags behind the ledger, which is what a kill may leave too.
    return {};
}

} // namespace

QList<LedgerAnchor> readAnchors(const QString &path, bool *unreadable)
{
    if (unreadable)
        *unreadable = false;
    QList<LedgerAnchor> anchors;
    QFile file(path);
    if (!file.exists())
        return anchors;
    const QJsonDocument document =
        file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.read(1 << 20)) : QJsonDocument();
    bool ok = document.isObject() && document.object().value(QStringLiteral("anchors")).isArray();
    for (const QJsonValue &value : document.object().value(QStringLiteral("anchors")).toArray()) {
        const QJsonObject object = value.toObject();
        LedgerAnchor anchor;
        anchor.identity = object.value(QStringLiteral("ledger")).toString();
        anchor.place = object.value(QStringLiteral("place")).toString();
        bool idOk = false;
        anchor.id = object.value(QStringLiteral("id")).toString().toLongLong(&idOk);
        anchor.hash = object.value(QStringLiteral("hash")).toString();
        ok = ok && idOk && anchor.id > 0 && isHash(anchor.hash) && !anchor.identity.isEmpty();
        anchors.append(anchor);
    }
    if (!ok) {
        if (unreadable)
            *unreadable = true;
        return {};
    }
    return anchors;
}

QList<ChainProblem> compareWithAnchors(const QList<LedgerAnchor> &anchors, const QString &identity,
                                       const QString &place, const QList<LedgerEntry> &entries)
{
    QList<ChainProblem> problems;
    for (const LedgerAnchor &anchor : anchors) {
        if (anchor.identity != identity) {
            // One place holds one ledger: another one seen there was replaced, and stays reported
            // after the new one is anchored too.
            if (anchor.place == place)
                problems.append({ChainProblem::Kind::Replaced, anchor.id, anchor.hash});
            continue;
        }
        // Ids are given without gaps from 1, but a gap is a problem of its own: look the id up.
        const auto found = std::find_if(entries.cbegin(), entries.cend(),
                                        [&anchor](const LedgerEntry &entry) { return entry.id == anchor.id; });
        if (found == entries.cend())
            problems.append({ChainProblem::Kind::AnchorLost, anchor.id, anchor.hash});
        else if (found->hash != anchor.hash)
            problems.append({ChainProblem::Kind::AnchorChanged, anchor.id, anchor.hash});
    }
    return problems;
}

Result<void> advanceAnchor(const QString &path, const LedgerAnchor &head,
                           const std::function<bool(qint64 id, const QString &hash)> &holdsAnchored)
{
    if (head.identity.isEmpty() || head.id <= 0)
        return {};
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    // Another process moving the anchor on meanwhile: this head is then no later than its, or the
    // next recording or Verify moves it on. An anchor only ever lags behind the ledger.
    if (!lock.tryLock(2000))
        return Fault{FaultKind::Unwritable, QStringLiteral("the anchor file %1 is locked").arg(path)};
    bool unreadable = false;
    QList<LedgerAnchor> anchors = readAnchors(path, &unreadable);
    if (unreadable)
        return Fault{FaultKind::BadInput, QStringLiteral("the anchor file %1 does not read").arg(path)};
    const auto anchored = std::find_if(anchors.begin(), anchors.end(), [&head](const LedgerAnchor &anchor) {
        return anchor.identity == head.identity;
    });
    if (anchored == anchors.end()) {
        anchors.append(head);
    } else {
        if (anchored->id >= head.id || !holdsAnchored(anchored->id, anchored->hash))
            return {}; // not later, or not from the entry seen: what Verify reports stays
        *anchored = head;
    }
    return writeSynced(path, anchorBytes(anchors));
}

} // namespace seikyu
