#include "support/PdfTools.h"

#include <QProcess>
#include <QRegularExpression>

namespace seikyu::test {

QString runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &pdf, int page)
{
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return runProgram(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

int pdfPageCount(const QString &pdf)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch found = pages.match(runProgram(QStringLiteral("pdfinfo"), {pdf}));
    return found.hasMatch() ? found.captured(1).toInt() : -1;
}

QImage pdfFirstPage(const QString &pdf, int dpi)
{
    runProgram(QStringLiteral("pdftoppm"),
               {"-png", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", pdf, pdf});
    return QImage(pdf + QStringLiteral(".png"));
}

} // namespace seikyu::test
