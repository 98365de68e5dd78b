#pragma once

#include <QMainWindow>
#include <functional>

class QScrollArea;

namespace seikyu {

/// The invoice window: the page on a grey desk, scrolled when the window is smaller than the page.
class InvoiceWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit InvoiceWindow(QWidget *parent = nullptr);

    /// Asked before the window closes; answering false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }
    void setPageBox(QWidget *box);
    /// Sizes the window to show the page's whole width and as much of its height as the screen allows.
    void fitToPage();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QScrollArea *m_scroll;
    std::function<bool()> m_closeGuard;
};

} // namespace seikyu
