#pragma once

#include <QDate>
#include <QImage>
#include <QPointer>
#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace seikyu {

class ImageWell;
class SegmentedControl;

/// What the controls of a panel held when it opened: the chosen list entry, honorific, date, era,
/// stamp preview and typed texts. Cancelling the panel puts them back, so that only OK changes the invoice
/// (the file records the honorific, the era and the date as the controls hold them).
class PanelSnapshot
{
public:
    explicit PanelSnapshot(QWidget *panel);

    /// A text field with this property set narrows the entries of a list chooser: it is put back
    /// before the choosers, so that they choose among the entries they held when the panel opened.
    static constexpr const char *NarrowsChoicesProperty = "narrowsChoices";

    QWidget *panel() const { return m_panel; }
    /// Puts every control back as it was when the panel opened.
    void restore() const;
    /// Moves the remembered choice of a list chooser along with its entry when the list changes
    /// while the panel is open; \a follow maps the old index to the new one.
    void followChoice(const QComboBox *chooser, const std::function<int(int)> &follow);

private:
    template <typename Control, typename Value> using Kept = std::vector<std::pair<QPointer<Control>, Value>>;

    QPointer<QWidget> m_panel;
    Kept<QComboBox, int> m_choices;
    Kept<SegmentedControl, int> m_segments;
    Kept<QCheckBox, bool> m_checks;
    Kept<QDateEdit, QDate> m_dates;
    Kept<ImageWell, QImage> m_images;
    Kept<QLineEdit, QString> m_narrowing;
    Kept<QLineEdit, QString> m_lines;
    Kept<QPlainTextEdit, QString> m_texts;
};

} // namespace seikyu
