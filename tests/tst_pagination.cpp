// How an invoice's table is cut into pages, without widgets: exact fits, the sums rows that take the last item row
// with them, the legend and the remarks that move on, rows taller than usual, no rows and ten thousand.
#include "pagination/Pagination.h"

#include <QElapsedTimer>
#include <QTest>

using namespace seikyu;

Q_DECLARE_METATYPE(seikyu::PaginationInput)

namespace {

constexpr double Row = 15;
constexpr double Tall = 24;

/// A table of a header row and `items` item rows of one line; then `sums` sums rows.
PaginationInput table(int items, int sums = 0, double firstRoom = 10 * Row, double nextRoom = 10 * Row)
{
    PaginationInput input;
    input.rowHeights.assign(size_t(1 + items + sums), Row);
    input.sumsFirst = sums > 0 ? 1 + items : -1;
    input.firstPageRoom = firstRoom;
    input.nextPageRoom = nextRoom;
    input.remarksGap = 6;
    return input;
}

/// The pages as "first-end" each, "h" before a repeated header, "+L" and "+R" after for the legend and remarks.
QString described(const std::vector<PageSlice> &pages)
{
    QStringList out;
    for (const PageSlice &page : pages) {
        out.append(QStringLiteral("%1%2-%3%4%5")
                       .arg(page.repeatsHeader ? QStringLiteral("h") : QString())
                       .arg(page.firstRow)
                       .arg(page.endRow)
                       .arg(page.legend ? QStringLiteral("+L") : QString())
                       .arg(page.remarks ? QStringLiteral("+R") : QString()));
    }
    return out.join(QLatin1Char(' '));
}

/// What every cutting keeps: each row once, in order; no page over its room unless one row alone
/// is taller than the page; the sums rows together after an item row; at least one page.
void checkInvariants(const PaginationInput &input, const std::vector<PageSlice> &pages)
{
    QVERIFY(!pages.empty());
    int next = 0;
    int legends = 0;
    int remarks = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const PageSlice &page = pages[i];
        QCOMPARE(page.firstRow, next);
        QVERIFY(page.endRow >= page.firstRow);
        next = page.endRow;
        double height = page.repeatsHeader ? input.rowHeights.front() : 0;
        for (int row = page.firstRow; row < page.endRow; ++row)
            height += input.rowHeights[size_t(row)];
        QCOMPARE(page.rowsHeight, height);
        const double room = i == 0 ? input.firstPageRoom : input.nextPageRoom;
        const double below =
            (page.legend ? input.legendHeight : 0) + (page.remarks ? input.remarksGap + input.remarksHeight : 0);
        QVERIFY(page.rowsHeight + below <= room + 1e-6 || page.endRow - page.firstRow == 1);
        if (input.sumsFirst > 0 && page.firstRow <= input.sumsFirst && input.sumsFirst < page.endRow) {
            QCOMPARE(page.endRow, int(input.rowHeights.size()));
            QVERIFY2(page.firstRow < input.sumsFirst, "an item row above the sums");
        }
        legends += page.legend;
        remarks += page.remarks;
    }
    QCOMPARE(next, int(input.rowHeights.size()));
    QCOMPARE(legends, input.legendHeight > 0 ? 1 : 0);
    QCOMPARE(remarks, input.remarksHeight > 0 ? 1 : 0);
}

} // namespace

class PaginationTest : public QObject
{
    Q_OBJECT

private slots:
    void cutting_data()
    {
        QTest::addColumn<PaginationInput>("input");
        QTest::addColumn<QString>("pages");

        QTest::newRow("no rows at all") << PaginationInput{} << "0-0";
        PaginationInput empty = table(0);
        empty.rowHeights.clear();
        empty.legendHeight = 13;
        empty.remarksHeight = 30;
        QTest::newRow("no rows, legend and remarks") << empty << "0-0+L+R";
        QTest::newRow("header only") << table(0) << "0-1";
        QTest::newRow("exact fit") << table(9) << "0-10";
        QTest::newRow("one row over") << table(10) << "0-10 h10-11";
        QTest::newRow("exactly two pages") << table(18) << "0-10 h10-19";
        QTest::newRow("two pages and one row") << table(19) << "0-10 h10-19 h19-20";
        QTest::newRow("sums fit exactly") << table(6, 3) << "0-10";
        QTest::newRow("sums take the last item row on") << table(7, 3) << "0-7 h7-11";
        QTest::newRow("sums start the next page's room") << table(9, 3) << "0-9 h9-13";
        QTest::newRow("sums after a full page") << table(17, 3) << "0-10 h10-17 h17-21";

        PaginationInput remarks = table(9);
        remarks.remarksHeight = 20;
        QTest::newRow("remarks move on") << remarks << "0-10 10-10+R";
        remarks = table(7);
        remarks.remarksHeight = 24;
        QTest::newRow("remarks fit exactly") << remarks << "0-8+R";
        PaginationInput over = remarks;
        over.remarksHeight = 25;
        QTest::newRow("remarks over by the gap above them move on") << over << "0-8 8-8+R";
        remarks.legendHeight = 13;
        QTest::newRow("legend stays, remarks move on") << remarks << "0-8+L 8-8+R";
        PaginationInput legend = table(9, 0);
        legend.legendHeight = 13;
        legend.remarksHeight = 20;
        QTest::newRow("legend and remarks move on together") << legend << "0-10 10-10+L+R";
        legend = table(12, 3);
        legend.legendHeight = 13;
        legend.remarksHeight = 100;
        QTest::newRow("legend under the sums, remarks on") << legend << "0-10 h10-16+L 16-16+R";

        PaginationInput tall = table(9);
        tall.rowHeights[4] = Tall;
        QTest::newRow("one taller row pushes the last row on") << tall << "0-9 h9-10";
        PaginationInput giant = table(4);
        giant.rowHeights[2] = 40 * Row;
        QTest::newRow("a row taller than a page stands alone") << giant << "0-2 h2-3 h3-5";
        QTest::newRow("a smaller first page") << table(20, 3, 4 * Row, 10 * Row) << "0-4 h4-13 h13-20 h20-24";
        PaginationInput smallFirst = table(2, 0, 4 * Row, 10 * Row);
        smallFirst.remarksHeight = 20;
        QTest::newRow("remarks measured against the smaller first page") << smallFirst << "0-3 3-3+R";
        PaginationInput cramped = table(3, 9, 4 * Row, 10 * Row);
        QTest::newRow("sums too many for any page follow row by row") << cramped << "0-3 h3-12 h12-13";
    }

    void cutting()
    {
        QFETCH(PaginationInput, input);
        QFETCH(QString, pages);
        const std::vector<PageSlice> cut = paginate(input);
        QCOMPARE(described(cut), pages);
        if (input.sumsFirst < 0 || input.rowHeights.size() - size_t(input.sumsFirst) < 9)
            checkInvariants(input, cut);
    }

    void tenThousandRows()
    {
        PaginationInput input = table(10000 - 5, 4, 35 * Row, 47 * Row);
        for (size_t row = 7; row < input.rowHeights.size() - 4; row += 11)
            input.rowHeights[row] = Tall;
        input.legendHeight = 13;
        input.remarksHeight = 120;
        QElapsedTimer timer;
        timer.start();
        const std::vector<PageSlice> pages = paginate(input);
        QVERIFY(timer.elapsed() < 1000); // a guard against work that grows with the square of the rows
        checkInvariants(input, pages);
        QVERIFY(pages.size() > 10000 / 47 && pages.size() < 10000 / 30);
        QVERIFY(pages.back().remarks);
    }
};

QTEST_APPLESS_MAIN(PaginationTest)
#include "tst_pagination.moc"
