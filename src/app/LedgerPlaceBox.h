#pragma once

#include <QGroupBox>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace seikyu {

/// Preferences ▸ Ledger: where the ledger of issued invoices lives, on this computer or on the
/// office's PostgreSQL server; a test of the connection; the copy of the local ledger to the server;
/// the server's setup with separate roles.
class LedgerPlaceBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit LedgerPlaceBox(QWidget *parent = nullptr);

private:
    /// Keeps the choice, unless the connection text holds a password or does not read: then the
    /// setting stays as it was, the box says why, and this is false.
    bool save();
    /// Whether the ledger's place is kept (or the environment sets it); else says that `notDone`.
    bool keptOr(const QString &notDone);
    void testConnection();
    void copyLocalLedger();
    /// Opens Set Up Server…, proposing the login of the connection text as the office's role.
    void setUpServer();
    void updateEnabled();

    QPointer<QRadioButton> m_local;
    QPointer<QRadioButton> m_server;
    QPointer<QLineEdit> m_connection;
    QPointer<QLabel> m_result;
    QPointer<QPushButton> m_test;
    QPointer<QPushButton> m_copy;
    QPointer<QPushButton> m_setUp;
    bool m_fromEnvironment = false;
};

} // namespace seikyu
