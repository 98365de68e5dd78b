#include "help/HelpPanel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSplitter>
#include <QStringListModel>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <utility>

namespace seikyu {

HelpPanel::HelpPanel(QWidget *parent)
    : QDialog(parent, Qt::Tool), HVGrid(new QTableView), HVText(new QTextBrowser), HVSearch(new QLineEdit),
      m_headings(new QStringListModel(this))
{
    setObjectName(QStringLiteral("HelpPanel"));
    setModal(false);
    HVGrid->setObjectName(QStringLiteral("HVGrid"));
    HVText->setObjectName(QStringLiteral("HVText"));
    HVSearch->setObjectName(QStringLiteral("HVSearch"));

    HVGrid->setModel(m_headings);
    HVGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    HVGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The headings come from the topic list; QStringListModel would otherwise let a double-click edit them.
    HVGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    HVGrid->horizontalHeader()->hide();
    HVGrid->horizontalHeader()->setStretchLastSection(true);
    HVGrid->verticalHeader()->hide();
    HVGrid->setShowGrid(false);
    HVText->setReadOnly(true);
    HVSearch->setClearButtonEnabled(true);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(HVGrid);
    splitter->addWidget(HVText);
    splitter->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(HVSearch);
    layout->addWidget(splitter);
    resize(560, 320);

    connect(HVGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { HVDesc(); });
    connect(HVSearch, &QLineEdit::textChanged, this, [this] { HVFind(HVSearch); });
    connect(HVSearch, &QLineEdit::returnPressed, this, [this] { HVFind(HVSearch); });

    HVRead();
    HVGrid->selectionModel()->setCurrentIndex(m_headings->index(0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    retranslate();
}

void HelpPanel::HVRead()
{
    setTopics(helpTopics());
}

void HelpPanel::HVDesc()
{
    const int row = selectedRow();
    HVText->setPlainText(row < 0 ? QString() : m_topics.at(row).body);
}

void HelpPanel::HVFind(QObject *sender)
{
    QString search;
    if (auto *field = qobject_cast<QLineEdit *>(sender))
        search = field->text();
    else if (sender)
        search = sender->property("text").toString();
    setTopics(filterHelpTopics(helpTopics(), search));
    HVDesc();
}

void HelpPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        HVFind(HVSearch);
    }
    QDialog::changeEvent(event);
}

void HelpPanel::setTopics(const QList<HelpTopic> &topics)
{
    // Resetting the model drops the selection; the row number, not the topic, is what stays selected
    // while that row still exists. Otherwise the first topic is shown: a list with topics in it and
    // an empty text beside it (after a search that found nothing, say) reads as a fault.
    int row = selectedRow();
    m_topics = topics;
    QStringList heads;
    heads.reserve(m_topics.size());
    for (const HelpTopic &topic : std::as_const(m_topics))
        heads.append(topic.head);
    m_headings->setStringList(heads);
    if (row < 0 || row >= m_topics.size())
        row = 0;
    if (row < m_topics.size())
        HVGrid->selectionModel()->setCurrentIndex(m_headings->index(row),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int HelpPanel::selectedRow() const
{
    const QModelIndexList rows = HVGrid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const int row = rows.constFirst().row();
    return row < m_topics.size() ? row : -1;
}

void HelpPanel::retranslate()
{
    setWindowTitle(tr("%1 Help").arg(QCoreApplication::applicationName()));
    HVSearch->setPlaceholderText(tr("Search"));
}

} // namespace seikyu
