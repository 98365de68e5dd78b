#pragma once

#include "document/PanelSheet.h"

#include <QDate>
#include <QPointer>

class QCheckBox;

namespace seikyu {

/// The date panel: the invoice date and whether the page writes it in the Japanese era.
class DatePanel : public PanelSheet
{
    Q_OBJECT

public:
    explicit DatePanel(QWidget *window);

    /// Shows the invoice's date and era, as the panel opens.
    void load(const QDate &day, bool japaneseEra);
    QDate day() const;
    bool japaneseEra() const;

private:
    QPointer<QDateEdit> m_day;
    QPointer<QCheckBox> m_era;
};

} // namespace seikyu
