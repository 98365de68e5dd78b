#include "help/HelpPanel.h"
#include "help/HelpTopics.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

using namespace seikyu;

namespace {

// Stands in for a shipped translation: every heading and body gets a marker, nothing else does.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (QByteArrayView(context) != "HelpPanel")
            return {};
        return QStringLiteral("«%1»").arg(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void topicTexts();
    void translatedTopics();
    void loadedPanel();
    void search_data();
    void search();
    void searchKeepsRowNumber();
    void emptySearchRestoresAll();
    void senderWithoutText();

private:
    QStringList headings() const;
    QString shownText() const;
    int selectedRow() const;
    void select(int row);
    void type(const QString &text);

    QPointer<HelpPanel> m_panel;
};

void HelpTest::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("SeikyuTest"));
    QCoreApplication::setApplicationName(QStringLiteral("Sample"));
}

void HelpTest::init()
{
    m_panel = new HelpPanel;
}

void HelpTest::cleanup()
{
    delete m_panel;
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QStringList HelpTest::headings() const
{
    const auto *grid = m_panel->findChild<QTableView *>(QStringLiteral("HVGrid"));
    QStringList heads;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        heads.append(grid->model()->index(row, 0).data().toString());
    return heads;
}

QString HelpTest::shownText() const
{
    return m_panel->findChild<QTextBrowser *>(QStringLiteral("HVText"))->toPlainText();
}

int HelpTest::selectedRow() const
{
    const QModelIndexList rows =
        m_panel->findChild<QTableView *>(QStringLiteral("HVGrid"))->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void HelpTest::select(int row)
{
    auto *grid = m_panel->findChild<QTableView *>(QStringLiteral("HVGrid"));
    grid->selectRow(row);
}

void HelpTest::type(const QString &text)
{
    auto *search = m_panel->findChild<QLineEdit *>(QStringLiteral("HVSearch"));
    search->setText(text);
}

void HelpTest::topicTexts()
{
    const QList<HelpTopic> topics = helpTopics();
    QCOMPARE(topics.size(), 4);
    // The bodies are single paragraphs of a known length; a slipped character changes one of them.
    QList<qsizetype> lengths;
    for (const HelpTopic &topic : topics) {
        QVERIFY(!topic.body.contains(u'\n'));
        lengths.append(topic.body.size());
    }
    QCOMPARE(lengths, (QList<qsizetype>{76, 117, 239, 270}));
    QVERIFY(topics.at(3).body.contains(QStringLiteral("\"単価\" and \"個数\"")));
    QVERIFY(topics.at(3).body.contains(QStringLiteral("you've")));
}

void HelpTest::translatedTopics()
{
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(helpTopics().constFirst().head, QStringLiteral("«Summary»"));
    // An open panel follows the language switch, and its search runs over the translated texts.
    QTRY_COMPARE(headings().constFirst(), QStringLiteral("«Summary»"));
    type(QStringLiteral("«table»"));
    QCOMPARE(headings(), QStringList{QStringLiteral("«Table»")});
    QCoreApplication::removeTranslator(&translator);
    QTRY_COMPARE(headings().size(), 0);
}

void HelpTest::loadedPanel()
{
    QCOMPARE(headings(), (QStringList{QStringLiteral("Summary"), QStringLiteral("Guide border"),
                                      QStringLiteral("Editable parts"), QStringLiteral("Table")}));
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(shownText(), helpTopics().at(0).body);
    QCOMPARE(m_panel->windowTitle(), QStringLiteral("Sample Help"));
    QCOMPARE(m_panel->objectName(), QStringLiteral("HelpPanel"));
    QVERIFY(!m_panel->isModal());
    QVERIFY(m_panel->windowFlags().testFlag(Qt::Tool));

    // Selecting another row shows its body; the user cannot edit the headings.
    select(2);
    QCOMPARE(shownText(), helpTopics().at(2).body);
    auto *grid = m_panel->findChild<QTableView *>(QStringLiteral("HVGrid"));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void HelpTest::search_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("table") << "table" << QStringList{"Editable parts", "Table"};
    QTest::newRow("TABLE") << "TABLE" << QStringList{"Editable parts", "Table"};
    QTest::newRow("単価") << "単価" << QStringList{"Table"};
    QTest::newRow("border") << "border" << QStringList{"Guide border"};
    QTest::newRow("nothing found") << "invoice number" << QStringList{};
    // Quotes and the word OR are text to look for, not query syntax.
    QTest::newRow("double quote") << "\"" << QStringList{"Table"};
    QTest::newRow("apostrophe") << "'" << QStringList{"Editable parts", "Table"};
    QTest::newRow("OR as a word") << "Summary OR Table" << QStringList{};
    QTest::newRow("injection") << "x' OR head CONTAINS 'S" << QStringList{};
    QTest::newRow("wildcard") << "*" << QStringList{};
}

void HelpTest::search()
{
    QFETCH(QString, search);
    QFETCH(QStringList, found);

    type(search);
    QCOMPARE(headings(), found);
    QCOMPARE(filterHelpTopics(helpTopics(), search).size(), found.size());
    // Row 0 was selected before the search and stays selected while the list has a row 0.
    if (found.isEmpty()) {
        QCOMPARE(selectedRow(), -1);
        QCOMPARE(shownText(), QString());
    } else {
        QCOMPARE(selectedRow(), 0);
        QCOMPARE(shownText(), filterHelpTopics(helpTopics(), search).at(0).body);
    }
}

void HelpTest::searchKeepsRowNumber()
{
    // The row number stays, not the topic: row 1 showed "Guide border" and now shows "Table".
    select(1);
    type(QStringLiteral("table"));
    QCOMPARE(selectedRow(), 1);
    QCOMPARE(shownText(), helpTopics().at(3).body);

    // A row beyond the new end is dropped and nothing is shown, also after the list grows again.
    select(1);
    type(QStringLiteral("border"));
    QCOMPARE(selectedRow(), -1);
    QCOMPARE(shownText(), QString());
    type(QString());
    QCOMPARE(headings().size(), 4);
    QCOMPARE(shownText(), QString());

    // Return in the search field searches again without moving the selection.
    select(3);
    auto *search = m_panel->findChild<QLineEdit *>(QStringLiteral("HVSearch"));
    search->setText(QStringLiteral("Tax"));
    QCOMPARE(selectedRow(), -1);
    select(0);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(shownText(), helpTopics().at(3).body);
}

void HelpTest::emptySearchRestoresAll()
{
    type(QStringLiteral("border"));
    QCOMPARE(headings().size(), 1);
    type(QString());
    QCOMPARE(headings(), (QStringList{QStringLiteral("Summary"), QStringLiteral("Guide border"),
                                      QStringLiteral("Editable parts"), QStringLiteral("Table")}));
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(shownText(), helpTopics().at(0).body);
    QCOMPARE(filterHelpTopics(helpTopics(), QString()), helpTopics());
}

void HelpTest::senderWithoutText()
{
    // Any control with a text can drive the search; a missing sender searches for nothing.
    QLineEdit other;
    other.setText(QStringLiteral("単価"));
    m_panel->HVFind(&other);
    QCOMPARE(headings(), QStringList{QStringLiteral("Table")});
    m_panel->HVFind(nullptr);
    QCOMPARE(headings().size(), 4);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
