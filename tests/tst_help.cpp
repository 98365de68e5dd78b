// The help panel: its topics and the search that filters them.
#include "help/HelpPanel.h"
#include "help/HelpTopics.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

using namespace seikyu;

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Sample")); }
    void init() { m_panel = new HelpPanel; }
    void cleanup()
    {
        delete m_panel;
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void loadedPanel()
    {
        // The four topics every version has come first; topics about later additions follow.
        QCOMPARE(headings().mid(0, 4), (QStringList{"Summary", "Guide border", "Editable parts", "Table"}));
        QCOMPARE(headings().size(), helpTopics().size());
        QCOMPARE(selectedRow(), 0);
        QCOMPARE(shownText(), helpTopics().at(0).body);
        QCOMPARE(m_panel->windowTitle(), QStringLiteral("Sample Help"));
        QVERIFY(m_panel->windowFlags().testFlag(Qt::Tool));
        field()->setText(QStringLiteral("border"));
        m_panel->HVFind(nullptr); // a missing sender searches for nothing
        QCOMPARE(headings().size(), helpTopics().size());
    }

    void search_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("found"); // among the four first topics
        const QStringList tables{"Editable parts", "Table"};
        QTest::newRow("table") << 0 << "table" << tables;
        QTest::newRow("TABLE") << 0 << "TABLE" << tables;
        // The row number stays, not the topic; a row beyond the new end is dropped.
        QTest::newRow("row number kept") << 1 << "table" << tables;
        QTest::newRow("row beyond the end") << 1 << "border" << QStringList{"Guide border"};
        QTest::newRow("単価, in a body only") << 0 << "単価" << QStringList{"Table"};
        QTest::newRow("nothing found") << 0 << "invoice number" << QStringList{};
        QTest::newRow("empty") << 2 << "" << QStringList{"Summary", "Guide border", "Editable parts", "Table"};
        // Quotes and words of query languages are text to look for, not syntax.
        QTest::newRow("injection") << 0 << "x' OR head CONTAINS 'S" << QStringList{};
    }
    void search()
    {
        QFETCH(int, selected);
        QFETCH(QString, search);
        QStringList heads;
        for (const HelpTopic &topic : filterHelpTopics(helpTopics().mid(0, 4), search))
            heads.append(topic.head);
        QTEST(heads, "found");
        // The panel shows what the rule finds among all its topics, keeping the row number.
        grid()->selectRow(selected);
        field()->setText(search);
        QTest::keyClick(field(), Qt::Key_Return);
        const QList<HelpTopic> shown = filterHelpTopics(helpTopics(), search);
        QCOMPARE(headings().size(), shown.size());
        const int row = selected < shown.size() ? selected : -1;
        QCOMPARE(selectedRow(), row);
        QCOMPARE(shownText(), shown.value(row).body);
    }

private:
    QTableView *grid() const { return m_panel->findChild<QTableView *>(QStringLiteral("HVGrid")); }
    QString shownText() const { return m_panel->findChild<QTextBrowser *>(QStringLiteral("HVText"))->toPlainText(); }
    QLineEdit *field() const { return m_panel->findChild<QLineEdit *>(QStringLiteral("HVSearch")); }
    int selectedRow() const { return grid()->selectionModel()->selectedRows().value(0).row(); }
    QStringList headings() const
    {
        QStringList heads;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            heads.append(grid()->model()->index(row, 0).data().toString());
        return heads;
    }

    QPointer<HelpPanel> m_panel;
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
