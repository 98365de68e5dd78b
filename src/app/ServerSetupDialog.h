#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace seikyu {

/// Preferences ▸ Set Up Server…: the administrator sets the shared ledger up on its server with
/// separate roles, as `seikyu --ledger-setup` does. The setup runs on a thread of its own, so a
/// server that does not answer leaves the window responsive; the connection text (which may hold
/// the administrator's password) is never stored.
class ServerSetupDialog : public QDialog
{
    Q_OBJECT

public:
    /// `officeRole`: the role proposed for the office (the login Seikyu uses).
    explicit ServerSetupDialog(const QString &officeRole, QWidget *parent = nullptr);

    /// Starts the setup with what the fields say; the result shows when it is done.
    void setUp();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void setupDone();

private:
    QPointer<QLineEdit> m_admin;
    QPointer<QLineEdit> m_role;
    QPointer<QPushButton> m_run;
    QPointer<QLabel> m_result;
    bool m_running = false;
};

} // namespace seikyu
