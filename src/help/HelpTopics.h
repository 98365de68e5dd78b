#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace seikyu {

/// One entry of the help panel: the heading listed in the table and the text shown for it.
struct HelpTopic
{
    QString head;
    QString body;
    /// Words people type when they look for the topic, in either language, that its text may not
    /// hold (インボイス for the qualified invoice); searched, never shown.
    QStringList keywords;

    friend bool operator==(const HelpTopic &, const HelpTopic &) = default;
};

/// The help topics in their fixed order, translated into the current language
/// (translation context "HelpPanel"; the English text shows when there is no translation).
QList<HelpTopic> helpTopics();

/// The topics, in their order, whose heading, body or keywords contain \a search as plain text,
/// ignoring letter case, character width, kana script and spaces (see helpSearchKey). A search
/// that is empty, or only spaces, keeps them all.
QList<HelpTopic> filterHelpTopics(const QList<HelpTopic> &topics, const QString &search);

} // namespace seikyu
