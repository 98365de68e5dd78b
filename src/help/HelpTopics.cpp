#include "help/HelpTopics.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

// The English texts are the translation keys; QT_TRANSLATE_NOOP lets lupdate find them.
struct TopicSource
{
    const char *head;
    const char *body;
    const char *more = nullptr; ///< a paragraph of our own after the body
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
         "you've done all the input, click \"Add Sum\" to add rows with sums at the bottom."),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "From the keyboard: on the page, Tab moves from region to region and Space or Return opens one. In the "
         "table, Return or F2 edits a cell, Ctrl+Return works out the price of the current row as a click does, "
         "and Tab moves on to the buttons. Ctrl+Z and Ctrl+Shift+Z (or Undo and Redo in the panel) undo and redo "
         "while the table is open. Cancel or Esc puts the table back as it was when you opened it; Undo brings "
         "your edits back.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Amounts"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Type amounts as you like, with or without ￥ and commas, in full-width digits too. A minus before an "
         "amount (-, －, △ or ▲) makes it a discount. A quantity may have a fraction, such as 1.5 days: the price "
         "is rounded to whole yen. Add Sum prices the rows you typed but never clicked, and replaces earlier sums, "
         "so every item counts once. When the total changes after the invoice amount took it, the amount's blue "
         "border comes back and exporting asks whether to update it.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Tax rates and the qualified invoice"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "The table panel's Rate is the invoice's consumption-tax rate: 10 %, the standard rate since October "
         "2019, or 8 %, the rate of earlier invoices. Preferences choose the rate of new invoices and how the tax "
         "is rounded, once per rate. On a 10 % invoice, mark food, drink and newspapers with Tax Class, Reduced "
         "Rate 8 % (Ctrl+R): the row shows ※, explained under the table. Not Taxable (Ctrl+E) leaves a row out of "
         "the tax. With more than one rate the sums state each rate's total and tax. Enter your registration "
         "number (登録番号, T and 13 digits) as the last field of your details: the invoice then becomes a "
         "qualified invoice (適格請求書), showing the number and every rate's total and tax.")},
};

} // namespace

QList<HelpTopic> helpTopics()
{
    // Looked up on every call rather than cached, so a language installed later applies.
    QList<HelpTopic> topics;
    for (const TopicSource &source : TopicSources) {
        QString body = QCoreApplication::translate("HelpPanel", source.body);
        if (source.more)
            body += QStringLiteral("\n\n") + QCoreApplication::translate("HelpPanel", source.more);
        topics.append({QCoreApplication::translate("HelpPanel", source.head), body});
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
