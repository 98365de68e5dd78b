#pragma once

#include "document/PanelSheet.h"

#include <QImage>
#include <QPointer>

namespace seikyu {

class ImageWell;

/// The stamp panel: a preview of the seal, an image chosen for it, or none.
class StampPanel : public PanelSheet
{
    Q_OBJECT

public:
    explicit StampPanel(QWidget *window);

    QImage image() const;
    void setImage(const QImage &image);

signals:
    /// Choose… was pressed.
    void chooseAsked();
    /// No stamp was pressed.
    void noneAsked();

private:
    QPointer<ImageWell> m_well;
};

} // namespace seikyu
