#include "help/HelpPanel.h"
#include "help/HelpTopics.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

using namespace seikyu;

namespace {
const QStringList AllTopics{"Summary",          "Guide border", "Editable parts", "Table",          "Invoice number",
                            "Payment due date", "Remarks",      "Duplicate",      "Withholding tax"};
} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_panel = new HelpPanel; }
    void cleanup();
    void loadedPanel();
    void search_data();
    void search();

private:
    QTableView *grid() const { return m_panel->findChild<QTableView *>(QStringLiteral("HVGrid")); }
    QString shownText() const { return m_panel->findChild<QTextBrowser *>(QStringLiteral("HVText"))->toPlainText(); }
    QLineEdit *field() const { return m_panel->findChild<QLineEdit *>(QStringLiteral("HVSearch")); }
    QStringList headings() const;
    int selectedRow() const { return grid()->selectionModel()->selectedRows().value(0).row(); }

    QPointer<HelpPanel> m_panel;
};

void HelpTest::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Sample"));
}

void HelpTest::cleanup()
{
    delete m_panel;
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QStringList HelpTest::headings() const
{
    QStringList heads;
    for (int row = 0; row < grid()->model()->rowCount(); ++row)
        heads.append(grid()->model()->index(row, 0).data().toString());
    return heads;
}

void HelpTest::loadedPanel()
{
    QCOMPARE(headings(), AllTopics);
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(shownText(), helpTopics().at(0).body);
    QCOMPARE(m_panel->windowTitle(), QStringLiteral("Sample Help"));
    QVERIFY(m_panel->windowFlags().testFlag(Qt::Tool));
    field()->setText(QStringLiteral("border"));
    m_panel->HVFind(nullptr); // a missing sender searches for nothing
    QCOMPARE(headings().size(), AllTopics.size());
}

void HelpTest::search_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<int>("row"); // the selected row after the search, whose body shows

    const QStringList tables{"Editable parts", "Table", "Remarks", "Withholding tax"};
    QTest::newRow("table") << 0 << "table" << tables << 0;
    QTest::newRow("TABLE") << 0 << "TABLE" << tables << 0;
    // The row number stays, not the topic; a row beyond the new end is dropped.
    QTest::newRow("row number kept") << 1 << "table" << tables << 1;
    QTest::newRow("row beyond the end") << 1 << "border" << QStringList{"Guide border"} << -1;
    QTest::newRow("a new topic's words") << 0 << "源泉徴収" << QStringList{"Withholding tax"} << 0;
    QTest::newRow("単価") << 0 << "単価" << QStringList{"Table"} << 0;
    QTest::newRow("border") << 0 << "border" << QStringList{"Guide border"} << 0;
    QTest::newRow("nothing found") << 0 << "delivery note" << QStringList{} << -1;
    QTest::newRow("empty") << 2 << "" << AllTopics << 2;
    // Quotes and the word OR are text to look for, not query syntax.
    QTest::newRow("double quote") << 0 << "\""
                                  << QStringList{"Table", "Invoice number", "Payment due date", "Duplicate",
                                                 "Withholding tax"}
                                  << 0;
    QTest::newRow("apostrophe") << 0 << "'"
                                << QStringList{"Editable parts", "Table", "Remarks", "Duplicate", "Withholding tax"}
                                << 0;
    QTest::newRow("OR as a word") << 0 << "Summary OR Table" << QStringList{} << -1;
    QTest::newRow("injection") << 0 << "x' OR head CONTAINS 'S" << QStringList{} << -1;
}

void HelpTest::search()
{
    QFETCH(int, selected);
    QFETCH(QString, search);
    QFETCH(QStringList, found);
    QFETCH(int, row);

    grid()->selectRow(selected);
    field()->setText(search);
    QTest::keyClick(field(), Qt::Key_Return); // searching again keeps the selection
    QCOMPARE(headings(), found);
    QCOMPARE(selectedRow(), row);
    QCOMPARE(shownText(), filterHelpTopics(helpTopics(), search).value(row).body);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
