#pragma once

#include "document/PanelSheet.h"

#include <QPointer>

class QRadioButton;

namespace seikyu {

/// The receipt's panel: whether the receipt is handed over on paper, where a revenue stamp may be
/// due, or sent electronically, where none is.
class ReceiptPanel : public PanelSheet
{
    Q_OBJECT

public:
    explicit ReceiptPanel(QWidget *window);

    void load(bool paper);
    bool paper() const;

private:
    QPointer<QRadioButton> m_paper;
    QPointer<QRadioButton> m_electronic;
};

} // namespace seikyu
