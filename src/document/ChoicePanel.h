#pragma once

#include "document/PanelSheet.h"

#include <QPointer>

class QRadioButton;

namespace seikyu {

/// The words of a panel that asks one thing with two answers.
struct ChoiceWords
{
    QString name; ///< the panel's object name; its answers are name + "First" / "Second" unless given
    QString title;
    QString hint;
    QString first;
    QString second;
    QString firstName;  ///< the first answer's object name
    QString secondName; ///< the second answer's object name
};

/// A document's panel of one question and two answers: a receipt on paper or sent electronically
/// (where a revenue stamp may be due or not); a delivery slip with its prices or without.
class ChoicePanel : public PanelSheet
{
    Q_OBJECT

public:
    ChoicePanel(QWidget *window, const ChoiceWords &words);

    /// The receipt's question: on paper or sent electronically.
    static ChoiceWords paperWords();
    /// The delivery slip's question: with its prices and amounts, or quantities only.
    static ChoiceWords amountsWords();

    void load(bool first);
    bool first() const;

private:
    QPointer<QRadioButton> m_first;
    QPointer<QRadioButton> m_second;
};

} // namespace seikyu
