// The rule that fits a text into its place on the page, and how the item table shares its height.
#include "table/PageTableDelegate.h"
#include "widgets/PageFonts.h"
#include "widgets/TextFit.h"

#include <QFontMetricsF>
#include <QTest>

using namespace seikyu;

namespace {
QString withoutSpaces(QString text)
{
    return text.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
}
} // namespace

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void fitsWholeOrElidesOnlyWhereAllowed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QList<qreal>>("lineWidths");
        QTest::addColumn<bool>("elide");
        QTest::addColumn<int>("lines");    // how many lines are drawn; -1 whatever the fit needs
        QTest::addColumn<bool>("legible"); // at no less than 7 px
        QTest::addColumn<bool>("shrunk");  // smaller than asked

        const QString customer = QStringLiteral("株式会社サンプルコンサルティング東日本 経理部 御中");
        const QString bank = QStringLiteral("みずほ銀行 東京営業部 普通 1234567 カ）サンプルコンサルティング");
        QTest::newRow("short: as set") << QStringLiteral("山田 様") << QSizeF(318, 30) << 18 << QList<qreal>() << false
                                       << 1 << true << false;
        QTest::newRow("long customer: smaller, one line")
            << customer << QSizeF(318, 30) << 18 << QList<qreal>() << false << 1 << true << true;
        QTest::newRow("issuer: wraps at spaces beside the seal")
            << QStringLiteral(
                   "〒100-0005\n東京都千代田区丸の内一丁目2番3号 丸の内サンプルビル12階\n株式会社サンプル商事\nTEL "
                   "03-1234-5678\n") +
                   bank
            << QSizeF(240, 102) << 10 << QList<qreal>{170, 170, 240, 170, 170} << false << -1 << true << false;
        QTest::newRow("no room: whole, below legible")
            << customer + customer << QSizeF(120, 20) << 18 << QList<qreal>() << false << -1 << false << true;
        QTest::newRow("description: two lines, then …")
            << customer + customer + customer << QSizeF(200, 24) << 9 << QList<qreal>() << true << 2 << true << true;
    }

    void fitsWholeOrElidesOnlyWhereAllowed()
    {
        QFETCH(QString, text);
        QFETCH(QSizeF, box);
        QFETCH(int, pixelSize);
        QFETCH(QList<qreal>, lineWidths);
        QFETCH(bool, elide);
        QFETCH(int, lines);
        QFETCH(bool, legible);
        QFETCH(bool, shrunk);
        TextFitRequest request;
        request.box = box;
        request.pixelSize = pixelSize;
        request.lineWidths = lineWidths;
        if (elide) {
            request.maximumLines = 2;
            request.overflow = TextFitRequest::Overflow::Elide;
        }
        const QFont face = pageFont(pixelSize);
        const FittedText fitted = fitText(text, face, request);

        if (lines >= 0)
            QCOMPARE(fitted.lines.size(), lines);
        QCOMPARE(fitted.legible, legible);
        QCOMPARE(fitted.pixelSize < pixelSize, shrunk);
        QCOMPARE(fitted.elided, elide);
        QFont setIn = face;
        setIn.setPixelSize(fitted.pixelSize);
        const QFontMetricsF metrics(setIn);
        QVERIFY(fitted.lines.size() * metrics.height() <= box.height() + 0.01);
        if (elide) {
            for (const QString &line : fitted.lines)
                QVERIFY2(metrics.horizontalAdvance(line) <= box.width() + 0.01, qPrintable(line));
            QVERIFY(fitted.lines.constLast().endsWith(QChar(0x2026)));
        } else {
            // Whole: every character drawn, lines broken only where a space was or between characters.
            QCOMPARE(withoutSpaces(fitted.lines.join(QString())), withoutSpaces(text));
            // Each of the text's own lines keeps to its width (the seal's side stays clear of all but the name).
            qsizetype next = 0;
            const QStringList source = text.split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < source.size(); ++i) {
                QString drawn;
                do { // every line of the text gives at least one drawn line
                    const QString line = fitted.lines.value(next++);
                    QVERIFY2(metrics.horizontalAdvance(line) <= lineWidths.value(i, box.width()) + 0.01,
                             qPrintable(line));
                    drawn += line;
                } while (next < fitted.lines.size() && withoutSpaces(drawn) != withoutSpaces(source.at(i)));
                QCOMPARE(withoutSpaces(drawn), withoutSpaces(source.at(i)));
            }
        }
    }

    void longTablesShrinkThenSayTheyAreIllegible_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("tallRows");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("legible");
        QTest::newRow("35 rows: full size") << 35 << 0 << 9 << true;
        QTest::newRow("40 rows: smaller") << 40 << 0 << 8 << true;
        QTest::newRow("40 rows, 10 of two lines") << 40 << 10 << 7 << true;
        QTest::newRow("80 rows: too small") << 80 << 0 << 4 << false;
    }

    void longTablesShrinkThenSayTheyAreIllegible()
    {
        QFETCH(int, rows);
        QFETCH(int, tallRows);
        QFETCH(int, pixelSize);
        QFETCH(bool, legible);
        const PageTableRows layout = layoutPageTableRows(rows, tallRows, 534);
        QCOMPARE(layout.pixelSize, pixelSize);
        QCOMPARE(layout.legible, legible);
        QVERIFY(rows * layout.rowHeight + tallRows * (layout.tallRowHeight - layout.rowHeight) <= 534.01);
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
