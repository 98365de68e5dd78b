#include "sections/PanelSnapshot.h"

#include "widgets/ImageWell.h"
#include "widgets/SegmentedControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace seikyu {

namespace {

template <typename Control, typename Value, typename Read>
void keep(QWidget *panel, std::vector<std::pair<QPointer<Control>, Value>> &kept, Read read)
{
    for (Control *control : panel->findChildren<Control *>())
        kept.emplace_back(control, read(control));
}

template <typename Control, typename Value, typename Write>
void putBack(const std::vector<std::pair<QPointer<Control>, Value>> &kept, Write write)
{
    for (const auto &[control, value] : kept) {
        if (control)
            write(control.data(), value);
    }
}

} // namespace

PanelSnapshot::PanelSnapshot(QWidget *panel) : m_panel(panel)
{
    if (!panel)
        return;
    keep(panel, m_choices, [](QComboBox *c) { return c->currentIndex(); });
    keep(panel, m_segments, [](SegmentedControl *c) { return c->selectedSegment(); });
    keep(panel, m_checks, [](QCheckBox *c) { return c->isChecked(); });
    keep(panel, m_dates, [](QDateEdit *c) { return c->date(); });
    keep(panel, m_images, [](ImageWell *c) { return c->image(); });
    keep(panel, m_texts, [](QPlainTextEdit *c) { return c->toPlainText(); });
    // A date's or a chooser's own line edit follows its control, which is put back already.
    for (QLineEdit *line : panel->findChildren<QLineEdit *>()) {
        if (line->property(NarrowsChoicesProperty).toBool())
            m_narrowing.emplace_back(line, line->text());
        else if (!qobject_cast<QAbstractSpinBox *>(line->parent()) && !qobject_cast<QComboBox *>(line->parent()))
            m_lines.emplace_back(line, line->text());
    }
}

void PanelSnapshot::restore() const
{
    putBack(m_narrowing, [](QLineEdit *c, const QString &text) { c->setText(text); });
    putBack(m_choices, [](QComboBox *c, int index) { c->setCurrentIndex(index < c->count() ? index : -1); });
    putBack(m_segments, [](SegmentedControl *c, int index) { c->setSelectedSegment(index); });
    putBack(m_checks, [](QCheckBox *c, bool checked) { c->setChecked(checked); });
    putBack(m_dates, [](QDateEdit *c, const QDate &date) { c->setDate(date); });
    putBack(m_images, [](ImageWell *c, const QImage &image) { c->setImage(image); });
    putBack(m_lines, [](QLineEdit *c, const QString &text) { c->setText(text); });
    putBack(m_texts, [](QPlainTextEdit *c, const QString &text) { c->setPlainText(text); });
}

void PanelSnapshot::followChoice(const QComboBox *chooser, const std::function<int(int)> &follow)
{
    for (auto &[control, index] : m_choices) {
        if (control == chooser)
            index = follow(index);
    }
}

} // namespace seikyu
