#pragma once

#include <QList>
#include <QString>

namespace seikyu {

/// One entry of the help panel: the heading listed in the table and the text shown for it.
struct HelpTopic
{
    QString head;
    QString body;

    friend bool operator==(const HelpTopic &, const HelpTopic &) = default;
};

/// The help topics in their fixed order, translated into the current language
/// (translation context "HelpPanel"; the English text shows when there is no translation).
QList<HelpTopic> helpTopics();

/// The topics, in their order, whose heading or body contains \a search as plain text, ignoring
/// letter case. An empty search keeps them all.
QList<HelpTopic> filterHelpTopics(const QList<HelpTopic> &topics, const QString &search);

} // namespace seikyu
