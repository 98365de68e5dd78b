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

QList<PdfWord> pdfWords(const QString &pdf)
{
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (const QRegularExpressionMatch &m :
         word.globalMatch(runProgram(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", pdf, "-"})))
        words.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    return words;
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
