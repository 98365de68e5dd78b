#pragma once

#include <QButtonGroup>
#include <QWidget>

namespace seikyu {

/// A row of mutually exclusive segments with text labels; at most one is selected, and none may
/// be (index -1).
class SegmentedControl : public QWidget
{
    Q_OBJECT

public:
    explicit SegmentedControl(const QStringList &labels, QWidget *parent = nullptr);

    int segmentCount() const;
    int selectedSegment() const;
    void setSelectedSegment(int index);
    QString labelForSegment(int index) const;

signals:
    /// The user chose a segment.
    void selectedSegmentChanged(int index);
    /// The selection changed, by the user or by setSelectedSegment.
    void selectionChanged();

private:
    QButtonGroup *m_group;
};

} // namespace seikyu
