#pragma once

#include <QStyledItemDelegate>

namespace seikyu {

/// Draws the item table flat, like print: thin rules, the header row shaded, the total row bold,
/// amounts right-aligned. No style gradients, so the exported page stays pure vector.
class PageTableDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit PageTableDelegate(QObject *parent = nullptr);

    void setPixelSize(int pixelSize) { m_pixelSize = pixelSize; }
    int pixelSize() const { return m_pixelSize; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_pixelSize = 10;
};

} // namespace seikyu
