#include "document/InvoiceWindow.h"

#include <QCloseEvent>
#include <QScrollArea>

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
