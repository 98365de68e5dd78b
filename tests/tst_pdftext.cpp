#include "output/PdfTextRepair.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>

using namespace seikyu;

namespace {

bool isRadical(char32_t c)
{
    return c >= 0x2E80 && c <= 0x2FDF;
}

// The ideographs the font draws with a radical's glyph, read from its own cmap: a radical's NFKC form
// on the radical's glyph, or else the only ideograph on it (Supplement radicals, variant faces).
QString sharedGlyphIdeographs(const QString &path)
{
    const QRawFont font(path, 16.0);
    QHash<quint32, QString> radicalForms; // a radical's glyph → the NFKC forms of the radicals on it
    QHash<quint32, QStringList> drawn;    // a radical's glyph → the ideographs on it
    for (const auto &[first, last] :
         {std::pair<char32_t, char32_t>{0x2E80, 0x2FDF}, {0x3400, 0x9FFF}, {0xF900, 0xFAFF}, {0x20000, 0x2FFFF}}) {
        for (char32_t c = first; c <= last; ++c) {
            const QString text = QString::fromUcs4(&c, 1);
            const quint32 glyph = font.glyphIndexesForString(text).value(0);
            if (glyph != 0 && isRadical(c))
                radicalForms[glyph] += text.normalized(QString::NormalizationForm_KC);
            else if (glyph != 0 && radicalForms.contains(glyph))
                drawn[glyph].append(text);
        }
    }
    QString ideographs;
    for (auto it = drawn.cbegin(); it != drawn.cend(); ++it) {
        for (const QString &ideograph : it.value()) {
            if (it->size() == 1 || radicalForms[it.key()].contains(ideograph))
                ideographs += ideograph;
        }
    }
    return ideographs;
}

// A page the way the export writes it: A4 at 72 dpi, text in IPAex.
QByteArray renderPdf(const QString &text, const QString &family = QStringLiteral("IPAexMincho"))
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    QPainter painter(&writer);
    QFont font(family);
    font.setPixelSize(16);
    painter.setFont(font);
    painter.drawText(QRectF(40, 40, 515, 760), Qt::TextWrapAnywhere, text);
    painter.end();
    return buffer.data();
}

/// What a poppler tool prints for the PDF, complaints included, without white space.
QString runTool(const QString &tool, const QByteArray &pdf)
{
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-")};
    if (tool == QLatin1String("pdftotext"))
        arguments << QStringLiteral("-");
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    process.write(pdf);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<failed>");
    return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

// A one-page PDF drawing ⽉⽇ (radicals, by its ToUnicode map), the map Flate-compressed as Qt does not.
QByteArray flateMapPdf()
{
    const QByteArray map = qCompress("begincmap 1 begincodespacerange <0000> <FFFF> endcodespacerange 2 beginbfchar "
                                     "<0001> <2F49> <0002> <2F47> endbfchar endcmap")
                               .mid(4); // PDF Flate data is zlib without qCompress's size header
    const QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F 4 0 R >> >> /Contents 5 0 R >>",
        "<< /Subtype /Type0 /BaseFont /F /Encoding /Identity-H /DescendantFonts [6 0 R] /ToUnicode 7 0 R >>",
        "<< /Length 38 >>\nstream\nBT /F 24 Tf 72 700 Td <00010002> Tj ET\nendstream",
        "<< /Subtype /CIDFontType2 /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> >>",
        "<< /Length " + QByteArray::number(map.size()) + " /Filter /FlateDecode >>\nstream\n" + map + "\nendstream"};
    QByteArray pdf = "%PDF-1.4\n";
    QByteArray xref = "xref\n0 8\n0000000000 65535 f\r\n";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        xref += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n\r\n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    return pdf + xref + "trailer << /Size 8 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(pdf.size()) + "\n%%EOF";
}

} // namespace

class TestPdfText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils are not installed");
    }

    void repairsEverySharedGlyph_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("radicals"); // how many characters extract as radicals unrepaired
        for (const QString &face : {QStringLiteral("Mincho"), QStringLiteral("Gothic")}) {
            const QString ideographs =
                sharedGlyphIdeographs(QStringLiteral("/usr/share/fonts/opentype/ipaexfont-%1/ipaex%2.ttf")
                                          .arg(face.toLower(), face.at(0).toLower()));
            for (const QChar c : QStringLiteral("月日金田目用長西戸")) // else the font set-up is wrong
                QVERIFY2(ideographs.contains(c), qPrintable(face + c));
            const QString text = QStringLiteral("御請求金額12月千代田区") + ideographs;
            QTest::newRow(qPrintable(face)) << renderPdf(text, QStringLiteral("IPAex") + face) << text
                                            << int(3 + ideographs.toUcs4().size()); // and 金 月 田
        }
        QTest::newRow("Flate-compressed map") << flateMapPdf() << QStringLiteral("月日") << 2;
    }

    void repairsEverySharedGlyph()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, text);
        QFETCH(int, radicals);
        const QList<uint> wrong = runTool(QStringLiteral("pdftotext"), pdf).toUcs4(); // before the repair
        QCOMPARE(wrong.size(), text.toUcs4().size());
        QCOMPARE(std::count_if(wrong.cbegin(), wrong.cend(), isRadical), radicals);

        const QByteArray repaired = repairPdfText(pdf);
        QVERIFY2(repaired.startsWith(pdf), "an incremental update leaves every earlier byte alone");
        QCOMPARE(repairPdfText(repaired), repaired);
        QCOMPARE(runTool(QStringLiteral("pdftotext"), repaired), text); // with no complaint about the structure
        const QString info = runTool(QStringLiteral("pdfinfo"), repaired);
        QVERIFY2(info.contains(QStringLiteral("Pages:1")) && !info.contains(QStringLiteral("Error")), qPrintable(info));
    }

    void leavesWhatItCannotReadUnchanged_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        const QByteArray qtPdf = renderPdf(QStringLiteral("御請求金額 12月 千代田区"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("this is not a PDF at all \x01\x02\xff startxref 12 %%EOF");
        QTest::newRow("header only") << QByteArray("%PDF-1.4\n");
        QTest::newRow("truncated Qt export") << qtPdf.left(qtPdf.size() / 2);
        QTest::newRow("no shared glyph") << renderPdf(QStringLiteral("御請求書 No. 42"));
    }

    void leavesWhatItCannotReadUnchanged()
    {
        QFETCH(QByteArray, pdf);
        QCOMPARE(repairPdfText(pdf), pdf);
    }
};

QTEST_MAIN(TestPdfText)
#include "tst_pdftext.moc"
