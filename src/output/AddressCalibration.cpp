#include "output/AddressCalibration.h"

#include "document/AddressOffset.h"
#include "output/PagePrinter.h"
#include "page/InvoiceSheets.h"
#include "page/PageFonts.h"
#include "page/PageGeometry.h"
#include "page/SheetRegions.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "AddressCalibration".
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(AddressCalibration)
};
} // namespace

void paintAddressCalibration(QPainter &painter, const QPointF &offsetMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, page::SheetWidth, page::SheetHeight), Qt::white);

    // Where the envelope's window lets the sheet show, whatever the adjustment.
    const QRectF window(QPointF(pagePixelsOfMillimetres(20), pagePixelsOfMillimetres(15)),
                        QPointF(pagePixelsOfMillimetres(105), pagePixelsOfMillimetres(55)));
    painter.setPen(QPen(Qt::gray, 0.5, Qt::DashLine));
    painter.drawRect(window);

    // The sheet folds in three: marks at a third and two thirds of its height, at both edges.
    painter.setPen(QPen(Qt::black, 0.5));
    for (const qreal fold : {page::SheetHeight / 3.0, page::SheetHeight * 2 / 3.0}) {
        painter.drawLine(QPointF(0, fold), QPointF(14, fold));
        painter.drawLine(QPointF(page::SheetWidth - 14, fold), QPointF(page::SheetWidth, fold));
    }

    CustomerPostalAddress sample;
    sample.postalCode = QStringLiteral("100-0005");
    sample.address = QStringLiteral("東京都千代田区丸の内一丁目2番3号\n丸の内サンプルビルディング 12階");
    sample.department = QStringLiteral("経理部");
    sample.attention = QStringLiteral("部長 山田太郎");
    PageRegion block = sheetRegionStyle(SheetRegion::Address);
    block.text = addressBlockText(QStringLiteral("株式会社サンプル商事"), QStringLiteral("御中"), sample);
    const QRect room = addressBlockRoom(offsetMm);
    painter.translate(sheetRegionBox(room).topLeft());
    paintRegion(painter, block, sheetRegionBox(room).size(), PaintTarget::Paper);
    painter.resetTransform();

    painter.setFont(pageFont(10));
    painter.setPen(Qt::black);
    const QRectF note(page::Left, pagePixelsOfMillimetres(75), page::Right - page::Left, 120);
    painter.drawText(note, Qt::TextWordWrap,
                     Text::tr("Fold this sheet in three at the marks and put it into a window envelope (長形3号). The "
                              "address must show whole in the window, clear of its edges. If it does not, move it in "
                              "Preferences (right and down in millimetres) and print this sheet again.\n\nNow moved "
                              "%1 mm right and %2 mm down.")
                         .arg(QLocale().toString(offsetMm.x(), 'f', 1), QLocale().toString(offsetMm.y(), 'f', 1)));
    painter.restore();
}

void printAddressCalibration(QWidget *parent)
{
    // At its true size, or the sample would not sit where invoices put the block.
    QPrinter printer(QPrinter::HighResolution);
    setUpSheetPrinter(printer);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printSheet(printer, [](QPainter &painter) { paintAddressCalibration(painter, savedAddressOffset()); }))
        Prompter::instance().alert(parent, Text::tr("Failed"), Text::tr("The calibration sheet could not be printed."));
}

} // namespace seikyu
