#include "ledger/LedgerCsv.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <unicode/uchar.h>

namespace seikyu {

namespace {

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

/// The texts of this file share the translation context "Ledger", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(Ledger)
};

/// Columns a terminal shows two cells wide count twice.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const uint c : text.toUcs4()) {
        const int eaw = u_getIntPropertyValue(UChar32(c), UCHAR_EAST_ASIAN_WIDTH);
        width += (eaw == U_EA_WIDE || eaw == U_EA_FULLWIDTH) ? 2 : 1;
    }
    return width;
}

/// The local time of a recorded moment, the zone looked up once per hour of the clock rather
/// than for each of a hundred thousand rows.
QString localTimeText(const QDateTime &utc)
{
    if (!utc.isValid())
        return {};
    thread_local QHash<qint64, int> offsetByHour;
    const qint64 hour = utc.toSecsSinceEpoch() / 3600;
    auto found = offsetByHour.constFind(hour);
    if (found == offsetByHour.constEnd())
        found = offsetByHour.insert(hour, utc.toLocalTime().offsetFromUtc());
    return utc.addSecs(*found).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

/// The columns that hold numbers (the entry, the amounts, the entry reissued): never made inert,
/// as a negative amount is a number, not a formula.
bool isNumberColumn(qsizetype column)
{
    return column == 0 || column == 5 || column == 6 || column == 8 || column == 12;
}

QString padded(const QString &text, int width, bool right)
{
    const QString fill(std::max(0, width - displayWidth(text)), QLatin1Char(' '));
    return right ? fill + text : text + fill;
}

} // namespace

QStringList ledgerColumnTitles()
{
    return {Text::tr("Entry"), Text::tr("Invoice date"), Text::tr("Number"), Text::tr("Customer"),
            Text::tr("Honorific"), Text::tr("Amount"), Text::tr("Withholding"), Text::tr("Due date"),
            Text::tr("Amount paid"), Text::tr("Status"), Text::tr("Issued at"), Text::tr("Issued by"),
            Text::tr("Reissue of"), Text::tr("Title"), Text::tr("Registration number"), Text::tr("Archived PDF"),
            Text::tr("SHA-256"), Text::tr("Source file"),
            // Last, so a reader of the columns before documents had kinds finds each where it was.
            Text::tr("Kind")};
}

QStringList ledgerRowCells(const IssuedInvoice &row, qint64 paid, const QDate &today)
{
    const LedgerEntry &e = row.issue;
    QString channel;
    switch (e.channel) {
    case IssueChannel::Pdf:
        channel = Text::tr("PDF");
        break;
    case IssueChannel::Print:
        channel = Text::tr("Print");
        break;
    case IssueChannel::Batch:
        channel = Text::tr("Batch");
        break;
    case IssueChannel::EInvoice:
        channel = Text::tr("e-Invoice");
        break;
    case IssueChannel::None:
        break;
    }
    return {QString::number(e.id),
            dateText(row.date),
            e.number,
            e.customer,
            e.honorific,
            QString::number(e.amount),
            QString::number(e.withholding),
            dateText(e.dueDate),
            QString::number(paid),
            issueStatusText(row, paid, today),
            localTimeText(e.recordedAt),
            channel,
            e.refersTo ? QString::number(e.refersTo) : QString(),
            e.title,
            e.registrationNumber,
            e.archiveName,
            e.pdfSha256,
            QDir::toNativeSeparators(e.sourcePath),
            documentKindName(e.document)};
}

QString issueStatusText(const IssuedInvoice &row, qint64 paid, const QDate &today)
{
    const PaymentStatus status = statusOf(row.issue.amount, paid, row.voided, row.issue.document);
    QString text = statusText(status);
    if (isPastDue(status, row.issue.dueDate, today))
        text = Text::tr("%1 (past due)").arg(text);
    if (row.superseded)
        text = Text::tr("%1, issued again").arg(text);
    if (row.clashesWith != 0)
        text = Text::tr("%1; No. %2 is also on entry %3").arg(text, row.issue.number).arg(row.clashesWith);
    return text;
}

QStringList unusedNumberCells(const LedgerEntry &unused)
{
    QStringList cells(ledgerColumnTitles().size());
    cells[0] = QString::number(unused.id);
    cells[1] = dateText(unused.recordedAt.toLocalTime().date());
    cells[2] = unused.number;
    cells[9] = Text::tr("Unused: %1").arg(unused.note);
    cells[10] = localTimeText(unused.recordedAt);
    return cells;
}

QString csvField(const QString &text)
{
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString inertCell(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

QString visiblyEscaped(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        const QChar::Category category = QChar::category(c);
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            shown += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else if (category == QChar::Other_Format || category == QChar::Separator_Line ||
                 category == QChar::Separator_Paragraph)
            shown += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            shown += QStringView(QChar::fromUcs4(c));
    }
    return shown;
}

QByteArray ledgerCsv(const LedgerPage &found, const QDate &today)
{
    QString text;
    text.reserve(200 * (found.rows.size() + 1));
    auto appendLine = [&text](const QStringList &cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += csvField(isNumberColumn(i) ? cells[i] : inertCell(cells[i]));
        }
        text += QStringLiteral("\r\n");
    };
    appendLine(ledgerColumnTitles());
    for (qsizetype i = 0; i < found.rows.size(); ++i)
        appendLine(ledgerRowCells(found.rows[i], found.paid.value(i), today));
    // The numbers given up on follow, so the sequence reads whole.
    for (const LedgerEntry &unused : found.unused)
        appendLine(unusedNumberCells(unused));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString ledgerTextTable(const LedgerPage &found, const QDate &today)
{
    // Date, number, customer, amount, due date, paid, status, kind: what a glance at a terminal needs.
    const QList<int> shown{1, 2, 3, 5, 7, 8, 9, 18};
    const QList<int> rightAligned{5, 8};
    QList<QStringList> lines;
    const QStringList titles = ledgerColumnTitles();
    QStringList header;
    for (int column : shown)
        header.append(titles[column]);
    lines.append(header);
    for (qsizetype i = 0; i < found.rows.size(); ++i) {
        const QStringList cells = ledgerRowCells(found.rows[i], found.paid.value(i), today);
        QStringList line;
        for (int column : shown)
            line.append(visiblyEscaped(cells[column]));
        lines.append(line);
    }
    QList<int> widths(shown.size(), 0);
    for (const QStringList &line : std::as_const(lines)) {
        for (qsizetype i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(line[i]));
    }
    QString text;
    for (const QStringList &line : std::as_const(lines)) {
        QStringList cells;
        for (qsizetype i = 0; i < line.size(); ++i)
            cells.append(padded(line[i], widths[i], rightAligned.contains(shown[i])));
        text += cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    }
    return text;
}

} // namespace seikyu
