#include "help/HelpTopics.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

// The English texts are the translation keys; QT_TRANSLATE_NOOP lets lupdate find them.
struct TopicSource
{
    const char *head;
    const char *body;
};

constexpr TopicSource TopicSources[] = {
    {QT_TRANSLATE_NOOP("HelpPanel", "Summary"),
     QT_TRANSLATE_NOOP("HelpPanel", "Generate a common style invoice in Japanese. Supposed to be exported as PDF.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Guide border"),
     QT_TRANSLATE_NOOP("HelpPanel", "Click each part surrounded by blue border to see dialog. When you finish editing "
                                    "and click OK, blue border goes away.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Editable parts"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Above left, you can select Title. Above right, a date. Second row, a customer's name. Third row left, "
         "total sum, which you should edit later. Third row right, your info. Under your info, choose a stamp. "
         "You can also select not to use this.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Table"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Edit a table below by double-clicking on each cell. With \"Include Tax\" checked, sum includes taxes. "
         "When you add \"単価\" and \"個数\", click on spaces inside the row to add sum into \"合計\" cell. When "
         "you've done all the input, click \"Add Sum\" to add rows with sums at the bottom.")},
};

} // namespace

QList<HelpTopic> helpTopics()
{
    // Looked up on every call rather than cached, so a language installed later applies.
    QList<HelpTopic> topics;
    for (const TopicSource &source : TopicSources) {
        topics.append({QCoreApplication::translate("HelpPanel", source.head),
                       QCoreApplication::translate("HelpPanel", source.body)});
    }
    return topics;
}

QList<HelpTopic> filterHelpTopics(const QList<HelpTopic> &topics, const QString &search)
{
    if (search.isEmpty())
        return topics;
    QList<HelpTopic> kept;
    for (const HelpTopic &topic : topics) {
        if (topic.head.contains(search, Qt::CaseInsensitive) || topic.body.contains(search, Qt::CaseInsensitive))
            kept.append(topic);
    }
    return kept;
}

} // namespace seikyu
