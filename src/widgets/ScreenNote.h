#pragma once

#include <QLabel>

namespace seikyu {

/// A red note on the page for the person at the screen (a table too long to read, say). It is
/// never part of the page itself: a PDF or a printout leaves it out.
class ScreenNote : public QLabel
{
    Q_OBJECT

public:
    explicit ScreenNote(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace seikyu
