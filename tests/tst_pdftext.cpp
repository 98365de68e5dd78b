#include "output/PdfTextRepair.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace seikyu;

namespace {

const QString Ordinary = QStringLiteral("御請求金額 12月 千代田区");

bool isRadical(QChar c)
{
    return c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF;
}

quint32 glyphOf(const QRawFont &font, char32_t c)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.size() == 1 ? glyphs[0] : 0;
}

// The ideographs that extract wrongly from Qt's PDF because the font draws them with a radical's
// glyph, read from the font's own cmap so that the test follows the font rather than a list
// someone once typed in. First those that the radical's NFKC form leads to, then those it does not
// (the Supplement radicals, and faces whose shared glyph is a different variant).
QString sharedGlyphIdeographs(const QString &path, qsizetype *viaNfkc = nullptr)
{
    const QRawFont font(path, 16.0);
    if (!font.isValid())
        return {};
    QString ideographs;
    QSet<quint32> radicalGlyphs;
    for (char32_t radical = 0x2E80; radical <= 0x2FDF; ++radical) {
        const quint32 glyph = glyphOf(font, radical);
        if (glyph == 0)
            continue;
        radicalGlyphs.insert(glyph);
        const QString radicalText = QString::fromUcs4(&radical, 1);
        const QString ideograph = radicalText.normalized(QString::NormalizationForm_KC);
        if (ideograph != radicalText && !ideographs.contains(ideograph) &&
            glyphOf(font, ideograph.toUcs4()[0]) == glyph)
            ideographs += ideograph;
    }
    if (viaNfkc)
        *viaNfkc = ideographs.size();

    QMap<quint32, QList<char32_t>> sharing;
    const std::pair<char32_t, char32_t> ideographBlocks[] = {
        {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xF900, 0xFAFF}, {0x20000, 0x2FFFF}};
    for (const auto &[first, last] : ideographBlocks) {
        for (char32_t c = first; c <= last; ++c) {
            const quint32 glyph = glyphOf(font, c);
            if (glyph != 0 && radicalGlyphs.contains(glyph))
                sharing[glyph].append(c);
        }
    }
    for (const QList<char32_t> &candidates : std::as_const(sharing)) {
        // Two ideographs on one glyph cannot both come back as themselves; none of IPAex's do.
        const QString ideograph = QString::fromUcs4(candidates.constData(), 1);
        if (candidates.size() == 1 && !ideographs.contains(ideograph))
            ideographs += ideograph;
    }
    return ideographs;
}

// The page the way our export writes it: A4 in points, no margins, 72 dpi, IPAex Mincho sized in pixels.
QByteArray renderPdf(const QString &text, const QString &family = QStringLiteral("IPAexMincho"))
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        QPainter painter(&writer);
        QFont font(family);
        font.setPixelSize(16);
        painter.setFont(font);
        painter.drawText(QRectF(40, 40, 515, 760), Qt::TextWrapAnywhere, text);
    }
    return buffer.data();
}

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString &tool, QStringList arguments, const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("page.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    arguments << file.fileName();
    if (tool == QLatin1String("pdftotext"))
        arguments << QStringLiteral("-");
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString withoutSpace(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// A one-page PDF around the given ToUnicode stream object (number 7), for the map forms Qt itself
// does not write. Object 9 is free for an indirect /Length.
QByteArray minimalPdf(const QByteArray &mapObject, const QByteArray &object9 = "null")
{
    const QByteArray content = "BT /F1 24 Tf 72 700 Td <00010002> Tj ET";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> >> "
        "/Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type0 /BaseFont /IPAexMincho /Encoding /Identity-H /DescendantFonts [6 0 R] "
        "/ToUnicode 7 0 R >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /IPAexMincho /CIDSystemInfo << /Registry (Adobe) "
        "/Ordering (Identity) /Supplement 0 >> /FontDescriptor 8 0 R /CIDToGIDMap /Identity >>",
        mapObject,
        "<< /Type /FontDescriptor /FontName /IPAexMincho /Flags 4 /FontBBox [0 -120 1000 880] /ItalicAngle 0 "
        "/Ascent 880 /Descent -120 /CapHeight 880 /StemV 50 >>",
        object9,
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f\r\n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n\r\n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QByteArray cmap(const QByteArray &mappings)
{
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
           mappings + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

QByteArray streamObject(const QByteArray &data, const QByteArray &extraEntries = {})
{
    return "<< /Length " + QByteArray::number(data.size()) + extraEntries + " >>\nstream\n" + data + "\nendstream";
}

// PDF Flate data is plain zlib: qCompress without its 4-byte size header.
QByteArray flate(const QByteArray &data)
{
    return qCompress(data).mid(4);
}

const QByteArray MoonSunChars = cmap("2 beginbfchar\n<0001> <2F49>\n<0002> <2F47>\nendbfchar\n");

} // namespace

class TestPdfText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Under a Japanese locale fontconfig reports the families by their Japanese names.
        const QString family = QFontInfo(QFont(QStringLiteral("IPAexMincho"))).family();
        QVERIFY2(family == QLatin1String("IPAexMincho") || family == QStringLiteral("IPAex明朝"), qPrintable(family));
    }

    void repairsEverySharedGlyphInQtsExport_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("path");
        QTest::newRow("Mincho") << QStringLiteral("IPAexMincho")
                                << QStringLiteral("/usr/share/fonts/opentype/ipaexfont-mincho/ipaexm.ttf");
        QTest::newRow("Gothic") << QStringLiteral("IPAexGothic")
                                << QStringLiteral("/usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf");
    }

    void repairsEverySharedGlyphInQtsExport()
    {
        QFETCH(QString, family);
        QFETCH(QString, path);
        qsizetype viaNfkc = 0;
        const QString ideographs = sharedGlyphIdeographs(path, &viaNfkc);
        // The month, day and money kanji of an invoice are among them, and 長 西 戸 of names and
        // addresses; if they are not, the font set-up is wrong rather than the repair.
        for (const QChar c : QStringLiteral("月日金田目用長西戸"))
            QVERIFY2(ideographs.contains(c), qPrintable(QString(c)));
        qInfo("%lld ideographs share their glyph with a radical, %lld of them found through NFKC",
              qlonglong(ideographs.toUcs4().size()), qlonglong(viaNfkc));

        const QString text = Ordinary + QLatin1Char('\n') + ideographs;
        const QByteArray original = renderPdf(text, family);
        const QByteArray repaired = repairPdfText(original);
        QVERIFY(repaired.size() > original.size());
        QVERIFY2(repaired.startsWith(original), "an incremental update leaves every earlier byte alone");

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");

        // Without the repair the text really is wrong: the ideographs come out as radicals.
        const ToolRun before =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8")}, original);
        QCOMPARE(before.exitCode, 0);
        QVERIFY(!before.out.contains(QStringLiteral("金額")));
        const QString wrongText = withoutSpace(before.out);
        const qsizetype sharedCount = ideographs.toUcs4().size();
        QCOMPARE(wrongText.toUcs4().size(), withoutSpace(text).toUcs4().size());
        QCOMPARE(std::count_if(wrongText.cbegin(), wrongText.cend(), isRadical), 3 + sharedCount); // 金 月 田 and all

        const ToolRun after =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8")}, repaired);
        QCOMPARE(after.exitCode, 0);
        QCOMPARE(after.err, QString()); // poppler reports here a table it had to reconstruct
        QCOMPARE(withoutSpace(after.out), withoutSpace(text));
        QVERIFY(std::none_of(after.out.cbegin(), after.out.cend(), isRadical));

        const ToolRun info = runTool(QStringLiteral("pdfinfo"), {}, repaired);
        QCOMPARE(info.exitCode, 0);
        QCOMPARE(info.err, QString());
        QVERIFY2(
            info.out.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"), QRegularExpression::MultilineOption)),
            qPrintable(info.out));
    }

    void repairIsIdempotentAndFast()
    {
        const QByteArray original = renderPdf(
            Ordinary + sharedGlyphIdeographs(QStringLiteral("/usr/share/fonts/opentype/ipaexfont-mincho/ipaexm.ttf")));
        const QByteArray once = repairPdfText(original);
        QVERIFY(once != original);
        QCOMPARE(repairPdfText(once), once);

        // Text without any shared glyph needs no update at all.
        const QByteArray plain = renderPdf(QStringLiteral("御請求書 No. 42"));
        QCOMPARE(repairPdfText(plain), plain);

        // Export runs this on every save; a regression to a slow scan should show up here.
        QElapsedTimer timer;
        timer.start();
        constexpr int Runs = 20;
        for (int i = 0; i < Runs; ++i)
            QVERIFY(!repairPdfText(original).isEmpty());
        const double perRun = double(timer.nsecsElapsed()) / Runs / 1e6;
        qInfo("repair of a %lld-byte PDF: %.3f ms", qlonglong(original.size()), perRun);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer build is several times slower throughout
        QVERIFY2(perRun < 5.0, qPrintable(QString::number(perRun)));
#endif
    }

    void repairsOtherMapForms_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<QString>("text");

        QTest::newRow("flate") << minimalPdf(streamObject(flate(MoonSunChars), " /Filter /FlateDecode"))
                               << QStringLiteral("月日");
        QTest::newRow("flate in an array")
            << minimalPdf(streamObject(flate(MoonSunChars), " /Filter [ /FlateDecode ]")) << QStringLiteral("月日");
        QTest::newRow("indirect length") << minimalPdf("<< /Length 9 0 R >>\nstream\n" + MoonSunChars + "\nendstream",
                                                       QByteArray::number(MoonSunChars.size()))
                                         << QStringLiteral("月日");
        // A consecutive run of radicals, which is no longer consecutive once they are replaced.
        QTest::newRow("range") << minimalPdf(streamObject(cmap("1 beginbfrange\n<0000> <0002> <2F48>\nendbfrange\n")))
                               << QStringLiteral("月木");
        QTest::newRow("range array") << minimalPdf(streamObject(
                                            cmap("1 beginbfrange\n<0001> <0002> [<0041> <2E9F>]\nendbfrange\n")))
                                     << QStringLiteral("A母");
    }

    void repairsOtherMapForms()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QString, text);
        const QByteArray repaired = repairPdfText(pdf);
        QVERIFY(repaired.startsWith(pdf));
        QVERIFY(repaired.size() > pdf.size());
        QCOMPARE(repairPdfText(repaired), repaired);

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const ToolRun before =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8")}, pdf);
        QVERIFY(std::any_of(before.out.cbegin(), before.out.cend(), isRadical));
        const ToolRun after =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8")}, repaired);
        QCOMPARE(withoutSpace(after.out), text);
    }

    void leavesWhatItCannotReadUnchanged_data()
    {
        QTest::addColumn<QByteArray>("pdf");

        const QByteArray qtPdf = renderPdf(Ordinary);
        const QByteArray good = minimalPdf(streamObject(MoonSunChars));
        const auto replaced = [&](const QByteArray &from, const QByteArray &to) {
            return QByteArray(good).replace(from, to);
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("this is not a PDF at all \x01\x02\xff startxref 12 %%EOF");
        QTest::newRow("header only") << QByteArray("%PDF-1.4\n");
        QTest::newRow("truncated Qt export") << qtPdf.left(qtPdf.size() / 2);
        QTest::newRow("Qt export without its tail") << qtPdf.left(qtPdf.lastIndexOf("startxref"));
        QTest::newRow("startxref past the end") << replaced("startxref\n", "startxref\n99999999");
        QTest::newRow("startxref into an object")
            << QByteArray(good).replace(good.mid(good.lastIndexOf("startxref")), "startxref\n9\n%%EOF\n");
        QTest::newRow("xref offset into nowhere") << replaced("0000000009 00000 n", "0000000001 00000 n");
        QTest::newRow("Prev loops onto itself")
            << replaced("/Root 1 0 R", "/Root 1 0 R /Prev " + QByteArray::number(good.lastIndexOf("xref\n0 ")));
        QTest::newRow("encrypted") << replaced("/Root 1 0 R", "/Root 1 0 R /Encrypt 9 0 R");
        QTest::newRow("length too long") << replaced("<< /Length " + QByteArray::number(MoonSunChars.size()),
                                                     "<< /Length " + QByteArray::number(MoonSunChars.size() + 400));
        QTest::newRow("unterminated bfchar")
            << minimalPdf(streamObject(MoonSunChars.left(MoonSunChars.indexOf("endbfchar"))));
        QTest::newRow("name where a hex string belongs")
            << minimalPdf(streamObject(cmap("1 beginbfchar\n<0001> /space\nendbfchar\n")));
        QTest::newRow("unsupported filter")
            << minimalPdf(streamObject(MoonSunChars.toHex(), " /Filter /ASCIIHexDecode"));
    }

    void leavesWhatItCannotReadUnchanged()
    {
        QFETCH(QByteArray, pdf);
        QCOMPARE(repairPdfText(pdf), pdf);
    }

    void corruptFlateDataLeavesThePdfUnchanged()
    {
        QByteArray data = flate(MoonSunChars);
        data.truncate(data.size() / 2);
        const QByteArray pdf = minimalPdf(streamObject(data, " /Filter /FlateDecode"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^qUncompress")));
        QCOMPARE(repairPdfText(pdf), pdf);
    }

    // Damage anywhere in a real export must neither crash nor rewrite what is already there.
    void survivesDamagedFiles()
    {
        const QByteArray original = renderPdf(Ordinary);
        // Qt writes the map, the small objects and the table last; damage from the map on.
        const qsizetype structure = original.lastIndexOf(" obj", original.indexOf("begincmap"));
        QVERIFY(structure > 0);
        QRandomGenerator random(20240501);
        for (int i = 0; i < 2000; ++i) {
            QByteArray damaged = original;
            const int hits = 1 + random.bounded(3);
            for (int h = 0; h < hits; ++h) {
                const qsizetype at = structure + random.bounded(int(original.size() - structure));
                damaged[at] = "0123456789<>[]/ ()RnfR\n"[random.bounded(23)];
            }
            if (random.bounded(4) == 0)
                damaged.truncate(structure + random.bounded(int(damaged.size() - structure)));
            const QByteArray result = repairPdfText(damaged);
            QVERIFY2(result.startsWith(damaged), qPrintable(QString::number(i)));
        }
    }
};

QTEST_MAIN(TestPdfText)
#include "tst_pdftext.moc"
