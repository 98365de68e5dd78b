#include "import/DelimitedText.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

constexpr char16_t Quote = u'"';

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

/// Reads delimited text one record at a time.
class Reader
{
public:
    Reader(const QString &text, QChar delimiter, Quoting quoting)
        : m_text(text), m_size(text.size()), m_delimiter(delimiter), m_quoting(quoting)
    {}

    DelimitedText readAll()
    {
        DelimitedText result;
        while (m_pos < m_size) {
            const qsizetype recordStart = m_pos;
            const int recordLine = m_line;
            QString failure;
            QStringList fields;
            if (!readRecord(&fields, &failure)) {
                result.skipped.append({recordLine, failure});
                skipPhysicalLine(recordStart, recordLine);
                continue;
            }
            if (fields.size() == 1 && fields.constFirst().isEmpty())
                continue; // an empty line
            result.records.append({recordLine, std::move(fields)});
        }
        return result;
    }

private:
    /// One record, up to and including its line break; false with the reason when it is damaged.
    bool readRecord(QStringList *fields, QString *failure)
    {
        while (true) {
            QString field;
            if (m_pos < m_size && m_text.at(m_pos) == Quote) {
                const qsizetype fieldStart = m_pos;
                const int fieldLine = m_line;
                if (!readQuoted(&field, failure)) {
                    if (m_quoting == Quoting::Strict)
                        return false;
                    // A cell that only starts with a quotation mark: its text as it is.
                    m_pos = fieldStart;
                    m_line = fieldLine;
                    field = readPlain();
                }
            } else {
                field = readPlain();
            }
            fields->append(std::move(field));
            if (m_pos < m_size && m_text.at(m_pos) == m_delimiter) {
                ++m_pos;
                continue;
            }
            skipLineBreak();
            return true;
        }
    }

    QString readPlain()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_size) {
            const QChar c = m_text.at(m_pos);
            if (c == m_delimiter || isLineBreak(c))
                break;
            ++m_pos;
        }
        return m_text.mid(start, m_pos - start);
    }

    /// A quoted field from its opening mark; false when the mark is never closed or text follows
    /// the closing mark.
    bool readQuoted(QString *field, QString *failure)
    {
        ++m_pos; // the opening mark
        while (true) {
            const qsizetype next = m_text.indexOf(Quote, m_pos);
            if (next < 0) {
                *failure = QCoreApplication::translate(
                    "RowImport", "a quotation mark opens a field and is never closed (unbalanced quotes)");
                return false;
            }
            countLines(m_pos, next);
            field->append(QStringView(m_text).mid(m_pos, next - m_pos));
            m_pos = next + 1;
            if (m_pos < m_size && m_text.at(m_pos) == Quote) {
                field->append(Quote); // "" stands for one mark
                ++m_pos;
                continue;
            }
            if (m_pos < m_size && m_text.at(m_pos) != m_delimiter && !isLineBreak(m_text.at(m_pos))) {
                *failure = QCoreApplication::translate(
                    "RowImport", "text follows the quotation mark that closes a field (unbalanced quotes)");
                return false;
            }
            return true;
        }
    }

    void countLines(qsizetype from, qsizetype to)
    {
        for (qsizetype i = from; i < to; ++i) {
            const QChar c = m_text.at(i);
            if (c == u'\n' || (c == u'\r' && (i + 1 >= m_size || m_text.at(i + 1) != u'\n')))
                ++m_line;
        }
    }

    void skipLineBreak()
    {
        if (m_pos >= m_size)
            return;
        if (m_text.at(m_pos) == u'\r' && m_pos + 1 < m_size && m_text.at(m_pos + 1) == u'\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }

    /// After a damaged record: on with the line after the one it started on.
    void skipPhysicalLine(qsizetype recordStart, int recordLine)
    {
        m_pos = recordStart;
        while (m_pos < m_size && !isLineBreak(m_text.at(m_pos)))
            ++m_pos;
        m_line = recordLine;
        skipLineBreak();
    }

    const QString &m_text;
    const qsizetype m_size;
    const QChar m_delimiter;
    const Quoting m_quoting;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

DelimitedText splitDelimited(const QString &text, QChar delimiter, Quoting quoting)
{
    return Reader(text, delimiter, quoting).readAll();
}

QChar guessDelimiter(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && !isLineBreak(text.at(end)))
        ++end;
    const QStringView firstLine = QStringView(text).left(end);
    return firstLine.contains(u'\t') && !firstLine.contains(u',') ? QChar(u'\t') : QChar(u',');
}

} // namespace seikyu
