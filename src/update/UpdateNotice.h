#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace seikyu {

/// The window that tells the user a newer version is published and offers its product page.
class UpdateNotice : public QDialog
{
    Q_OBJECT

public:
    /// \a baseUrl is the product page base URL (ending in "/").
    explicit UpdateNotice(const QString &baseUrl, QWidget *parent = nullptr);

    /// Shows the application's icon and brings the notice to the front as the active window.
    void present();
    /// Opens the application's product page in the user's browser; \a sender is not used.
    void revs(QObject *sender);

private:
    QLabel *uicn;
    QPushButton *m_open;
    QString m_baseUrl;
};

} // namespace seikyu
