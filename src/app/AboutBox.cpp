#include "app/AboutBox.h"

#include <QApplication>
#include <QMessageBox>
#include <qpdf/QPDF.hh>
#include <unicode/uversion.h>

// Set by the build from the package's licence; a build without it says where the terms are.
#ifndef SEIKYU_LICENSE
#define SEIKYU_LICENSE ""
#endif

namespace seikyu {

namespace {
/// The texts of this file share the translation context "AboutBox", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(AboutBox)
};

QString icuVersion()
{
    UVersionInfo version;
    u_getVersion(version);
    char text[U_MAX_VERSION_STRING_LENGTH] = {};
    u_versionToString(version, text);
    return QString::fromLatin1(text);
}
} // namespace

QString aboutText()
{
    const QString license = QString::fromUtf8(SEIKYU_LICENSE);
    QStringList lines{
        Text::tr("%1 %2").arg(QApplication::applicationName(), QApplication::applicationVersion()),
        Text::tr("Japanese invoices (請求書) as PDF."),
        QString(),
        license.isEmpty()
            ? Text::tr("License: see the copyright file that comes with %1.").arg(QApplication::applicationName())
            : Text::tr("License: %1").arg(license),
        QString(),
        Text::tr("Qt %1").arg(QString::fromLatin1(qVersion())),
        Text::tr("ICU %1").arg(icuVersion()),
        Text::tr("qpdf %1").arg(QString::fromStdString(QPDF::QPDFVersion())),
    };
    return lines.join(QLatin1Char('\n'));
}

void showAbout(QWidget *window)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, Text::tr("About %1").arg(QApplication::applicationName()),
                                aboutText(), QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setTextFormat(Qt::PlainText);
    box->setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The texts can be selected, to paste into a report.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->open();
}

} // namespace seikyu
