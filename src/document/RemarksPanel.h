#pragma once

#include "document/PanelSheet.h"

#include <QPointer>

class QPlainTextEdit;

namespace seikyu {

/// The remarks panel: a few lines printed under the item table.
class RemarksPanel : public PanelSheet
{
    Q_OBJECT

public:
    explicit RemarksPanel(QWidget *window);

    /// Shows the invoice's remarks, ready to type into.
    void load(const QString &remarks);
    /// The remarks as typed, blank lines and all.
    QString typed() const;

private:
    QPointer<QPlainTextEdit> m_text;
};

} // namespace seikyu
