#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace seikyu {

/// A panel of the invoice window, opened by a region of the page: a titled sheet whose controls
/// stand in one column, with an optional hint and its closing buttons. The window owns it.
class PanelSheet : public QDialog
{
    Q_OBJECT

public:
    PanelSheet(QWidget *window, const QString &name, const QString &title);

    /// The column the panel's controls stand in.
    QVBoxLayout *column() const;
    /// A wrapped line of explanation at the bottom of the column so far.
    QLabel *addHint(const QString &text);
    /// The closing buttons: Cancel ends the sheet without changing the invoice; the confirming
    /// button asks for `confirmed()`, and what answers it ends the sheet when it succeeds.
    QPushButton *addButtons(const QString &confirm, bool withCancel = true);
    /// A date chooser with its calendar, over every date the file format can hold.
    QDateEdit *makeDatePicker(const QString &name);

signals:
    void confirmed();
};

} // namespace seikyu
