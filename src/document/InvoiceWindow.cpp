#include "document/InvoiceWindow.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace seikyu {

InvoiceWindow::InvoiceWindow(QWidget *parent) : QMainWindow(parent), m_scroll(new QScrollArea(this))
{
    setObjectName(QStringLiteral("Document"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidgetResizable(false);
    setCentralWidget(m_scroll);
    resize(700, 900);
}

void InvoiceWindow::setPageBox(QWidget *box)
{
    m_scroll->setWidget(box);
}

void InvoiceWindow::fitToPage()
{
    QWidget *box = m_scroll->widget();
    if (!box)
        return;
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
    const int frame = m_scroll->frameWidth() * 2 + m_scroll->verticalScrollBar()->sizeHint().width() + 24;
    const int chrome = menuBar() ? menuBar()->sizeHint().height() : 0;
    const int width = std::min(box->width() + frame, available.width());
    const int height = std::min(box->height() + frame + chrome, available.height() * 9 / 10);
    resize(width, height);
}

void InvoiceWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

} // namespace seikyu
