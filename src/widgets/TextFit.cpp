#include "widgets/TextFit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace seikyu {

namespace {

/// Rounding in the font's measurements must not push a text that fits onto a second line.
constexpr qreal Slack = 0.01;

QFont sized(const QFont &face, int pixelSize)
{
    QFont font(face);
    font.setPixelSize(pixelSize);
    return font;
}

/// One piece of a wrapped text and the line of the text it came from.
struct Piece
{
    QString text;
    int source;
};

/// Breaks one line into pieces no wider than `width`: at spaces when every word fits that way (an
/// address keeps its building name together), otherwise wherever the line-breaking rules allow,
/// which in Japanese is between most characters. A single glyph wider than the width stays whole.
QStringList wrapLine(const QString &line, const QFont &font, qreal width)
{
    const QFontMetricsF metrics(font);
    if (metrics.horizontalAdvance(line) <= width + Slack)
        return {line};

    const QStringList words = line.split(QLatin1Char(' '));
    const bool wordsFit = std::all_of(words.cbegin(), words.cend(), [&](const QString &word) {
        return metrics.horizontalAdvance(word) <= width + Slack;
    });
    QStringList pieces;
    if (wordsFit) {
        QString current;
        for (const QString &word : words) {
            const QString longer = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (!current.isEmpty() && metrics.horizontalAdvance(longer) > width + Slack) {
                pieces.append(current);
                current = word;
            } else {
                current = longer;
            }
        }
        pieces.append(current);
        return pieces;
    }

    QTextLayout layout(line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
        piece.setLineWidth(width);
        QString text = line.mid(piece.textStart(), piece.textLength());
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        pieces.append(text);
    }
    layout.endLayout();
    return pieces;
}

} // namespace

qreal pageLinePitch(const QFont &face, int pixelSize)
{
    return QFontMetricsF(sized(face, pixelSize)).height();
}

FittedText fitText(const QString &text, const QFont &face, const TextFitRequest &request)
{
    const QStringList source = text.split(QLatin1Char('\n'));
    const auto widthOf = [&request](int line) {
        return line < request.lineWidths.size() ? request.lineWidths.at(line) : request.box.width();
    };
    const auto piecesAt = [&](int pixelSize, bool wrap) {
        const QFont font = sized(face, pixelSize);
        QList<Piece> pieces;
        for (int line = 0; line < source.size(); ++line) {
            const QStringList parts = wrap ? wrapLine(source.at(line), font, widthOf(line)) : source.mid(line, 1);
            for (const QString &part : parts)
                pieces.append({part, line});
        }
        return pieces;
    };
    const auto fitsAt = [&](int pixelSize, const QList<Piece> &pieces) {
        const QFontMetricsF metrics(sized(face, pixelSize));
        for (const Piece &piece : pieces) {
            if (metrics.horizontalAdvance(piece.text) > widthOf(piece.source) + Slack)
                return false;
        }
        if (request.maximumLines > 0 && pieces.size() > request.maximumLines)
            return false;
        return pieces.size() * pageLinePitch(face, pixelSize) <= request.box.height() + Slack;
    };
    const auto result = [&](int pixelSize, const QList<Piece> &pieces) {
        FittedText fitted{pixelSize, {}, pixelSize >= request.minimumPixelSize, false};
        for (const Piece &piece : pieces)
            fitted.lines.append(piece.text);
        return fitted;
    };

    const int largest = std::max(1, request.pixelSize);
    const int smallest = std::max(1, std::min(request.minimumPixelSize, largest));
    // Shrinking keeps the text's own lines, so it comes before wrapping.
    for (int size = largest; size >= smallest; --size) {
        const QList<Piece> pieces = piecesAt(size, false);
        if (fitsAt(size, pieces))
            return result(size, pieces);
    }
    if (request.wrap) {
        for (int size = largest; size >= smallest; --size) {
            const QList<Piece> pieces = piecesAt(size, true);
            if (fitsAt(size, pieces))
                return result(size, pieces);
        }
    }

    if (request.overflow == TextFitRequest::Overflow::Elide) {
        const QList<Piece> pieces = piecesAt(smallest, request.wrap);
        const QFontMetricsF metrics(sized(face, smallest));
        const int held = std::max(1, static_cast<int>(request.box.height() / pageLinePitch(face, smallest) + Slack));
        const int capacity = request.maximumLines > 0 ? std::min(request.maximumLines, held) : held;
        const int lines = static_cast<int>(std::min<qsizetype>(capacity, pieces.size()));
        FittedText fitted = result(smallest, pieces.mid(0, lines - 1));
        QString rest;
        for (qsizetype i = lines - 1; i < pieces.size(); ++i)
            rest += (rest.isEmpty() ? QString() : QStringLiteral(" ")) + pieces.at(i).text;
        const qreal width = widthOf(pieces.value(lines - 1).source);
        const QString last = metrics.elidedText(rest, Qt::ElideRight, width);
        fitted.lines.append(last);
        fitted.elided = last != rest;
        return fitted;
    }
    for (int size = smallest - 1; size >= 1; --size) {
        const QList<Piece> pieces = piecesAt(size, request.wrap);
        if (fitsAt(size, pieces))
            return result(size, pieces);
    }
    return result(1, piecesAt(1, request.wrap));
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
        const qreal width = metrics.horizontalAdvance(line);
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
