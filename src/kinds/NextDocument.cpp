#include "kinds/NextDocument.h"

#include "kinds/KindWords.h"
#include "sections/DateText.h"

namespace seikyu {

Invoice nextDocument(const Invoice &source, DocumentKind target, const QDate &date)
{
    Invoice next = source;
    next.kind = target;
    next.title = kindWords(target).title;
    next.date = date;
    next.number.clear();
    next.dueDate = QDate();
    next.paper = target == DocumentKind::Receipt;
    next.statement.reset(); // what follows a statement bills nothing of the month again
    next.payment = 0;
    next.amountsHidden = false; // the slip's prices are what the next document bills
    const QString sourceTitle = source.title.value_or(kindWords(source.kind).title).simplified();
    next.madeFrom = source.number.isEmpty() ? QStringLiteral("%1 %2").arg(sourceTitle, fileDateText(source.date))
                                            : QStringLiteral("%1 No. %2").arg(sourceTitle, source.number);
    if (target == DocumentKind::Receipt)
        next.remarks = source.number.isEmpty()
                           ? QStringLiteral("%1の代金として").arg(sourceTitle)
                           : QStringLiteral("%1 No. %2 の代金として").arg(sourceTitle, source.number);
    return next;
}

} // namespace seikyu
