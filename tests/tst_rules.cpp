// The rules the page stands on beside the invoice itself, without widgets: the registration number, fitting a text
// into its place, and the item table's share of the page.
#include "page/PageFonts.h"
#include "page/TextFit.h"
#include "sections/RegistrationNumber.h"
#include "table/PageTableDelegate.h"

#include <QFontMetricsF>
#include <QTest>

using namespace seikyu;

namespace {

QString withoutSpaces(QString text)
{
    return text.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registrationNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("corporate");
        QTest::addColumn<QString>("number"); // "refused" when it is none
        QTest::newRow("corporation") << "T7010705000725" << true << "T7010705000725";
        QTest::newRow("typed loosely") << " ｔ７０１０−７０５０−００７２５ " << true << "T7010705000725";
        QTest::newRow("hyphens and spaces") << "T 7010-7050-00725" << true << "T7010705000725";
        QTest::newRow("individual") << "T1234567890123" << false << "T1234567890123";
        QTest::newRow("none") << "  " << false << "";
        QTest::newRow("no T") << "7010705000725" << false << "refused";
        QTest::newRow("12 digits") << "T701070500072" << false << "refused";
        QTest::newRow("14 digits") << "T70107050007251" << false << "refused";
        QTest::newRow("letters") << "T70107050007AB" << false << "refused";
        QTest::newRow("Arabic-Indic digits") << "T٧٠١٠٧٠٥٠٠٠٧٢٥" << false << "refused";
    }
    void registrationNumbers()
    {
        QFETCH(QString, typed);
        const std::optional<QString> number = normalizedRegistrationNumber(typed);
        QTEST(number.value_or(QStringLiteral("refused")), "number");
        QTEST(hasCorporateCheckDigit(number.value_or(QString())), "corporate");
        // Kept as the sixth line of an issuer entry.
        QCOMPARE(registrationNumberOf(QStringLiteral("1\n2\n3\n4\n5\n") + typed), number.value_or(QString()));
    }

    void fitsWholeOrElidesOnlyWhereAllowed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QList<qreal>>("lineWidths");
        QTest::addColumn<int>("maximumLines");  // an item description's two; its last may end in …
        QTest::addColumn<int>("wrapPixelSize"); // a line wraps rather than shrink below it
        QTest::addColumn<QString>("expected");  // lines drawn (* as many as it needs), then the flags
        const QString customer = QStringLiteral("株式会社サンプルコンサルティング東日本 経理部 御中");
        const QString issuer = QStringLiteral("〒100-0005\n東京都千代田区丸の内一丁目2番3号 丸の内サンプルビル12階\n"
                                              "株式会社サンプル商事\nTEL 03-1234-5678\nみずほ銀行 東京営業部 普通 "
                                              "1234567 カ）サンプルコンサルティング");
        const QList<qreal> none;
        QTest::newRow("short: as set") << QStringLiteral("山田 様") << QSizeF(318, 30) << 18 << none << 0 << 0 << "1";
        QTest::newRow("short at the legible minimum")
            << QStringLiteral("山田 様") << QSizeF(318, 30) << LegiblePixelSize << none << 0 << 0 << "1";
        QTest::newRow("long customer: smaller, one line")
            << customer << QSizeF(318, 30) << 18 << none << 0 << 0 << "1 shrunk";
        QTest::newRow("long customer on the first page: wraps, legibly")
            << customer << QSizeF(318, 40) << 18 << none << 0 << 13 << "2 shrunk";
        QTest::newRow("issuer: wraps at spaces beside the seal")
            << issuer << QSizeF(240, 102) << 10 << QList<qreal>{170, 170, 240, 170, 170} << 0 << 0 << "*";
        QTest::newRow("no room: whole, below legible")
            << customer + customer << QSizeF(120, 20) << 18 << none << 0 << 0 << "* shrunk illegible";
        QTest::newRow("description: two lines, whole")
            << customer + QStringLiteral("の月次作業") << QSizeF(200, 24) << 9 << none << 2 << 0 << "2";
        QTest::newRow("description: two lines, then …")
            << customer + customer + customer << QSizeF(200, 24) << 9 << none << 2 << 0 << "2 shrunk elided";
    }
    void fitsWholeOrElidesOnlyWhereAllowed()
    {
        QFETCH(QString, text);
        QFETCH(QSizeF, box);
        QFETCH(int, pixelSize);
        QFETCH(QList<qreal>, lineWidths);
        QFETCH(int, maximumLines);
        QFETCH(int, wrapPixelSize);
        QFETCH(QString, expected);
        TextFitRequest request;
        request.box = box;
        request.pixelSize = pixelSize;
        request.lineWidths = lineWidths;
        request.maximumLines = maximumLines;
        request.wrapPixelSize = wrapPixelSize;
        if (maximumLines > 0)
            request.overflow = TextFitRequest::Overflow::Elide;
        const QFont face = pageFont(pixelSize);
        const FittedText fitted = fitText(text, face, request);
        QString got = expected.startsWith(u'*') ? QStringLiteral("*") : QString::number(fitted.lines.size());
        got += QString(fitted.pixelSize < pixelSize ? " shrunk" : "") + (fitted.legible ? "" : " illegible") +
               (fitted.elided ? " elided" : "");
        QCOMPARE(got, expected);
        QVERIFY(fitted.pixelSize >= wrapPixelSize);

        QFont setIn = face;
        setIn.setPixelSize(fitted.pixelSize);
        const QFontMetricsF metrics(setIn);
        QVERIFY(fitted.lines.size() * metrics.height() <= box.height() + 0.01);
        for (const QString &line : fitted.lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= box.width() + 0.01, qPrintable(line));
        // Whole, or else shortened at its end: every character drawn, lines broken only where a space
        // was or between characters.
        if (fitted.elided)
            QVERIFY(fitted.lines.constLast().endsWith(QChar(0x2026)));
        else
            QCOMPARE(withoutSpaces(fitted.lines.join(QString())), withoutSpaces(text));
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
        const PageTableRows layout = layoutPageTableRows(rows, tallRows, 534);
        QTEST(layout.pixelSize, "pixelSize");
        QTEST(layout.legible, "legible");
        QVERIFY(rows * layout.rowHeight + tallRows * (layout.tallRowHeight - layout.rowHeight) <= 534.01);
    }
};

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
