#pragma once

#include "help/HelpTopics.h"

#include <QDialog>

class QLineEdit;
class QStringListModel;
class QTableView;
class QTextBrowser;

namespace seikyu {

/// The floating help panel: the topic headings, the text of the selected topic and a search field
/// that narrows the list. It is independent of any invoice; one panel serves the whole application.
class HelpPanel : public QDialog
{
    Q_OBJECT

public:
    explicit HelpPanel(QWidget *parent = nullptr);

    /// Rebuilds the full topic list. The selected row number is kept while it still exists.
    void HVRead();
    /// Shows the body of the topic at the selected row, or nothing when no row is selected.
    void HVDesc();
    /// Narrows the list to the topics containing the text of \a sender (a line edit, or any object
    /// with a "text" property); the selected row number stays and its new topic is shown, or the
    /// first topic when that row is gone.
    void HVFind(QObject *sender);

protected:
    void changeEvent(QEvent *event) override;

private:
    void setTopics(const QList<HelpTopic> &topics);
    int selectedRow() const;
    void retranslate();

    QTableView *HVGrid;
    QTextBrowser *HVText;
    QLineEdit *HVSearch;
    QStringListModel *m_headings;
    QList<HelpTopic> m_topics;
};

} // namespace seikyu
