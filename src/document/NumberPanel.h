#pragma once

#include "document/PanelSheet.h"

#include <QPointer>

class QLineEdit;

namespace seikyu {

/// The invoice number panel: the number, the way to the next one of the sequence, and a line for
/// what the office's server says when the ledger is shared.
class NumberPanel : public PanelSheet
{
    Q_OBJECT

public:
    explicit NumberPanel(QWidget *window);

    /// Opens with `number` chosen in the field; `shared` says numbers come from the office's server
    /// (then none is offered, and the hint and the empty field say so).
    void load(const QString &number, bool shared);
    /// The number as typed, without surrounding spaces.
    QString number() const;
    void setNumber(const QString &number);
    /// Shows a line of what the office's server says; `grow` makes an open panel large enough for
    /// all of it (an open panel does not grow by itself for a wrapped line that appears in it).
    void say(const QString &text, bool grow = true);
    /// Takes the line of what the server says away.
    void quiet();

signals:
    /// Next Number was pressed.
    void nextNumberAsked();

private:
    QPointer<QLabel> m_hint;
    QPointer<QLineEdit> m_field;
    QPointer<QLabel> m_server;
    QString m_localHint;
};

} // namespace seikyu
