// The date and stamp regions of the page.
#include "document/DatePanel.h"
#include "document/Document.h"
#include "document/InvoicePageView.h"
#include "document/InvoiceWindow.h"
#include "document/StampPanel.h"
#include "sections/DateText.h"
#include "sections/SavedLists.h"
#include "widgets/ImageWell.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"

#include <QBuffer>
#include <QDialog>
#include <QImageReader>

namespace seikyu {

void Document::dateLoad(QObject *)
{
    PageButton *date = region(SheetRegion::Date);
    if (!date)
        return;
    date->setTitle(pageDateText(m_model->date(), m_model->japaneseEra()));
    duesLoad(); // the due date is shown in the invoice date's form, and must not fall before it
}

void Document::dateShow(QObject *)
{
    m_dateAtOpen = m_model->date();
    dateCtrl->load(m_dateAtOpen, m_model->japaneseEra());
    show(dateCtrl.get());
}

void Document::dateCopy(QObject *)
{
    const QDate chosen = dateCtrl->day();
    if (!offerToFollowTheDate(m_dateAtOpen, chosen))
        return;
    m_model->setDate(chosen);
    m_model->setJapaneseEra(dateCtrl->japaneseEra());
    // A customer with terms has its due date follow the invoice date.
    if (m_model->dueDate().isValid() && chosen != m_dateAtOpen)
        m_model->setDueDate(dueDateByTerms(chosen).value_or(m_model->dueDate()));
    m_page->setGuide(SheetRegion::Date, false);
    updateChangeCount(ChangeDone);
    hide();
}

void Document::pushInit()
{
    const QByteArray bytes = SavedLists::instance().stamp();
    if (bytes.isEmpty())
        return;
    const QImage image = ImageWell::decode(bytes);
    if (image.isNull())
        return; // stored bytes that do not decode give no stamp
    pushCtrl->setImage(image);
    m_model->setStamp(image);
}

void Document::pushShow(QObject *)
{
    show(pushCtrl.get());
}

void Document::pushCopy(QObject *)
{
    m_model->setStamp(pushCtrl->image());
    m_page->setGuide(SheetRegion::Stamp, false);
    updateChangeCount(ChangeDone);
    hide();
    hank();
}

void Document::pushKillExec(QObject *)
{
    // Only the preview empties. The saved stamp is shared by every invoice, so it goes when the
    // panel's OK stores the empty preview, and Cancel keeps it, the page's stamp and all.
    pushCtrl->setImage({});
}

void Document::hank(QObject *)
{
    const QImage image = pushCtrl ? pushCtrl->image() : QImage();
    if (image.isNull()) {
        SavedLists::instance().removeStamp();
        checkSettingsWritten();
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return; // keep the stamp that was stored rather than store nothing
    SavedLists::instance().setStamp(png);
    checkSettingsWritten();
}

void Document::pushChoose(QObject *)
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    const QString filter = tr("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
    const QString path = Prompter::instance().openFileName(pushCtrl.get(), tr("Choose a Stamp Image"), filter);
    pushCtrl->activateWindow(); // the keyboard comes back to the panel, window manager or not
    if (path.isEmpty())
        return;
    const QImage image = ImageWell::load(path);
    if (image.isNull()) {
        Prompter::instance().alert(pushCtrl.get(), tr("The image could not be read"),
                                   tr("“%1” is not an image that Seikyu can read.").arg(path));
        return;
    }
    pushCtrl->setImage(image);
}

} // namespace seikyu
