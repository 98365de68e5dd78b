#include "page/TextFit.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace seikyu {

namespace {

/// Rounding in the font's measurements must not push a text that fits onto a second line.
constexpr qreal Slack = 0.01;
/// A line longer than this is first measured by its beginning: when that alone is too wide, the
/// rest is never shaped. A page line holds far fewer characters, so every text that fits is
/// measured whole, as it always was.
constexpr qsizetype ProbeLength = 2048;
/// A long line is broken in windows of at least this many characters, so that each line costs
/// what its own characters cost rather than what the rest of the text does. A line's break is
/// taken from a window only when the window goes on at least Lookahead characters past it.
constexpr qsizetype WindowLength = 1024;
constexpr qsizetype Lookahead = 64;

/// Measurements a thread keeps at most before it forgets them all: a window's repaints would otherwise
/// keep every text ever typed.
constexpr qsizetype MaxKeptWidths = 4096;

QFont sized(const QFont &face, int pixelSize)
{
    QFont font(face);
    font.setPixelSize(pixelSize);
    return font;
}

/// The measurement `measure` gives for `key`, kept by the thread in `kept`: fitting a text measures
/// each piece at every size tried, and drawing it measures the same pieces again to place them.
/// Shaping a text is most of what a page's layout costs. Each thread keeps its own (each has fonts
/// of its own, which measure the same).
template <typename Key, typename Measure> qreal keptMeasure(QHash<Key, qreal> &kept, const Key &key, Measure measure)
{
    if (const auto found = kept.constFind(key); found != kept.cend())
        return *found;
    if (kept.size() >= MaxKeptWidths)
        kept.clear();
    return *kept.insert(key, measure());
}

/// The text's width in the font (whose metrics are `metrics`), as Qt measures it.
qreal advanceOf(const QFont &font, const QFontMetricsF &metrics, const QString &text)
{
    thread_local QHash<std::pair<QFont, QString>, qreal> widths;
    return keptMeasure(widths, std::pair(font, text), [&] { return metrics.horizontalAdvance(text); });
}

/// exceedsWidth() with the widths kept.
bool exceeds(const QFont &font, const QFontMetricsF &metrics, const QString &text, qreal width)
{
    if (text.size() > ProbeLength && advanceOf(font, metrics, text.left(ProbeLength)) > width + Slack)
        return true;
    return advanceOf(font, metrics, text) > width + Slack;
}

/// One piece of a wrapped text and the line of the text it came from.
struct Piece
{
    QString text;
    int source;
};

/// The pieces of a text at one size, and whether they are all of it: measuring stops once there
/// are more pieces than the box can hold.
struct Pieces
{
    QList<Piece> list;
    bool complete = true;
};

/// Breaks a line wherever the line-breaking rules allow, which in Japanese is between most
/// characters, and within a word too long for the width. A long line is laid out window by window:
/// laying out a whole line that has no break opportunity costs the square of its length.
void wrapAnywhere(const QString &line, const QFont &font, qreal width, qsizetype maxPieces, QStringList &pieces)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qsizetype start = 0;
    qsizetype window = WindowLength;
    while (start < line.size() && pieces.size() <= maxPieces) {
        const bool whole = line.size() - start <= window;
        const QString part = whole ? line.mid(start) : line.mid(start, window);
        QTextLayout layout(part, font);
        layout.setTextOption(option);
        layout.beginLayout();
        qsizetype taken = 0;
        for (QTextLine piece = layout.createLine(); piece.isValid() && pieces.size() <= maxPieces;
             piece = layout.createLine()) {
            piece.setLineWidth(width);
            const qsizetype end = piece.textStart() + piece.textLength();
            if (!whole && end > part.size() - Lookahead)
                break; // what follows the window might still change where this line breaks
            QString text = part.mid(piece.textStart(), piece.textLength());
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
            pieces.append(text);
            taken = end;
        }
        layout.endLayout();
        if (whole)
            return;
        if (taken == 0)
            window *= 2; // a line longer than the window: look further
        else
            start += taken;
    }
}

/// Breaks one line into pieces no wider than `width`: at spaces when every word fits that way (an
/// address keeps its building name together), otherwise wherever the line-breaking rules allow.
/// A single glyph wider than the width stays whole. Stops once there are more than `maxPieces`.
QStringList wrapLine(const QString &line, const QFont &font, qreal width, qsizetype maxPieces)
{
    const QFontMetricsF metrics(font);
    if (!exceeds(font, metrics, line, width))
        return {line};

    // Word by word, so that a long line is measured only as far as the box reaches.
    QStringList pieces;
    QString current;
    bool wordsFit = true;
    for (qsizetype from = 0; from <= line.size() && pieces.size() <= maxPieces;) {
        qsizetype space = line.indexOf(QLatin1Char(' '), from);
        if (space < 0)
            space = line.size();
        const QString word = line.mid(from, space - from);
        from = space + 1;
        if (exceeds(font, metrics, word, width)) {
            wordsFit = false;
            break;
        }
        const QString longer = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (!current.isEmpty() && advanceOf(font, metrics, longer) > width + Slack) {
            pieces.append(current);
            current = word;
        } else {
            current = longer;
        }
    }
    if (wordsFit) {
        if (pieces.size() <= maxPieces)
            pieces.append(current);
        return pieces;
    }
    pieces.clear();
    wrapAnywhere(line, font, width, maxPieces, pieces);
    return pieces;
}

} // namespace

bool exceedsWidth(const QFontMetricsF &metrics, const QString &text, qreal width)
{
    if (text.size() > ProbeLength && metrics.horizontalAdvance(text.left(ProbeLength)) > width + Slack)
        return true;
    return metrics.horizontalAdvance(text) > width + Slack;
}

qreal pageLinePitch(const QFont &face, int pixelSize)
{
    thread_local QHash<std::pair<QFont, int>, qreal> pitches;
    return keptMeasure(pitches, std::pair(face, pixelSize),
                       [&] { return QFontMetricsF(sized(face, pixelSize)).height(); });
}

FittedText fitText(const QString &text, const QFont &face, const TextFitRequest &request)
{
    const QStringList source = text.split(QLatin1Char('\n'));
    const auto widthOf = [&request](qsizetype line) {
        return line < request.lineWidths.size() ? request.lineWidths.at(line) : request.box.width();
    };
    // The most lines the box can hold at a size, and one more: beyond that nothing is measured, as
    // the text does not fit anyway.
    const auto budgetAt = [&](int pixelSize) {
        const qreal pitch = pageLinePitch(face, pixelSize);
        qsizetype held = pitch > 0 ? static_cast<qsizetype>((request.box.height() + Slack) / pitch) : 0;
        if (request.maximumLines > 0)
            held = std::min<qsizetype>(held, request.maximumLines);
        return std::max<qsizetype>(held, 1) + 1;
    };
    const auto piecesAt = [&](int pixelSize, bool wrap) {
        const QFont font = sized(face, pixelSize);
        const qsizetype budget = budgetAt(pixelSize);
        Pieces pieces;
        for (qsizetype line = 0; line < source.size(); ++line) {
            if (pieces.list.size() > budget) {
                pieces.complete = false;
                break;
            }
            const QStringList parts = wrap ? wrapLine(source.at(line), font, widthOf(line), budget - pieces.list.size())
                                           : source.mid(line, 1);
            for (const QString &part : parts)
                pieces.list.append({part, static_cast<int>(line)});
        }
        if (pieces.list.size() > budget)
            pieces.complete = false;
        return pieces;
    };
    const auto fitsAt = [&](int pixelSize, const Pieces &pieces) {
        if (!pieces.complete)
            return false;
        if (request.maximumLines > 0 && pieces.list.size() > request.maximumLines)
            return false;
        if (pieces.list.size() * pageLinePitch(face, pixelSize) > request.box.height() + Slack)
            return false;
        const QFont font = sized(face, pixelSize);
        const QFontMetricsF metrics(font);
        return std::none_of(pieces.list.cbegin(), pieces.list.cend(), [&](const Piece &piece) {
            return exceeds(font, metrics, piece.text, widthOf(piece.source));
        });
    };
    const auto result = [&](int pixelSize, const QList<Piece> &pieces) {
        FittedText fitted{pixelSize, {}, pixelSize >= request.minimumPixelSize, false};
        for (const Piece &piece : pieces)
            fitted.lines.append(piece.text);
        return fitted;
    };

    const int largest = std::max(1, request.pixelSize);
    const int smallest = std::max(1, std::min(request.minimumPixelSize, largest));
    // The lines that fit at a size, the last one shortened with "…".
    const auto elidedAt = [&](int pixelSize) {
        const Pieces pieces = piecesAt(pixelSize, request.wrap);
        const QFontMetricsF metrics(sized(face, pixelSize));
        const int held = std::max(1, static_cast<int>(request.box.height() / pageLinePitch(face, pixelSize) + Slack));
        const int capacity = request.maximumLines > 0 ? std::min(request.maximumLines, held) : held;
        const int lines = static_cast<int>(std::min<qsizetype>(capacity, pieces.list.size()));
        FittedText fitted = result(pixelSize, pieces.list.mid(0, lines - 1));
        // What stays for the last line, as far as it could show: no more is shaped.
        QString rest;
        bool cut = !pieces.complete;
        for (qsizetype i = lines - 1; i < pieces.list.size(); ++i) {
            if (rest.size() > ProbeLength) {
                cut = true;
                break;
            }
            rest += (rest.isEmpty() ? QString() : QStringLiteral(" ")) + pieces.list.at(i).text;
        }
        if (rest.size() > ProbeLength) {
            rest.truncate(ProbeLength);
            cut = true;
        }
        const qreal width = widthOf(pieces.list.value(lines - 1).source);
        QString last = metrics.elidedText(rest, Qt::ElideRight, width);
        if (cut && last == rest) {
            // All that was looked at fits, but more follows it.
            const QChar ellipsis(0x2026);
            last = metrics.elidedText(rest, Qt::ElideRight, width - metrics.horizontalAdvance(ellipsis));
            if (!last.endsWith(ellipsis))
                last += ellipsis;
        }
        fitted.lines.append(last);
        fitted.elided = last != rest || cut;
        return fitted;
    };

    // Shrinking keeps the text's own lines, so it comes before wrapping (down to where the request
    // rather has lines wrap).
    const int unwrappedSmallest = request.wrap ? std::clamp(request.wrapPixelSize, smallest, largest) : smallest;
    for (int size = largest; size >= unwrappedSmallest; --size) {
        const Pieces pieces = piecesAt(size, false);
        if (fitsAt(size, pieces))
            return result(size, pieces.list);
    }
    if (request.wrap) {
        for (int size = largest; size >= smallest; --size) {
            const Pieces pieces = piecesAt(size, true);
            if (fitsAt(size, pieces))
                return result(size, pieces.list);
        }
    }

    if (request.overflow == TextFitRequest::Overflow::Elide)
        return elidedAt(smallest);
    for (int size = smallest - 1; size >= 1; --size) {
        const Pieces pieces = piecesAt(size, request.wrap);
        if (fitsAt(size, pieces))
            return result(size, pieces.list);
    }
    // Not even the smallest type holds it (only a damaged or hostile file, or a paste, has such a
    // text): the page shows what fits at the legible size, ending in "…".
    return elidedAt(smallest);
}

QRectF drawFittedText(QPainter &painter, const QRectF &area, const QFont &face, const FittedText &fitted,
                      Qt::Alignment alignment)
{
    const QFont font = sized(face, fitted.pixelSize);
    const QFontMetricsF metrics(font);
    const qreal pitch = metrics.height();
    const qreal height = pitch * fitted.lines.size();
    qreal top = area.top();
    if (alignment & Qt::AlignBottom)
        top = area.bottom() - height;
    else if (alignment & Qt::AlignVCenter)
        top = area.center().y() - height / 2;
    painter.setFont(font);
    QRectF used;
    for (const QString &line : fitted.lines) {
        const qreal width = advanceOf(font, metrics, line);
        qreal left = area.left();
        if (alignment & Qt::AlignRight)
            left = area.right() - width;
        else if (alignment & Qt::AlignHCenter)
            left = area.center().x() - width / 2;
        painter.drawText(QPointF(left, top + metrics.ascent()), line);
        used |= QRectF(left, top, width, pitch);
        top += pitch;
    }
    return used;
}

} // namespace seikyu
