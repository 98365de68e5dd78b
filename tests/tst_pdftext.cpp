// The repair of the text layer of Qt's PDFs: every ideograph the IPAex faces draw with a radical's
// glyph extracts as the ideograph, and a PDF the repair cannot read comes back as it was.
#include "output/PdfTextRepair.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

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

/// The text pdftotext extracts, its complaints about the file included, without white space.
QString extractText(const QByteArray &pdf)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("pdftotext"), {"-enc", "UTF-8", "-", "-"});
    process.write(pdf);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<failed>");
    return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

class TestPdfText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void repairsEverySharedGlyph_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("Mincho") << QStringLiteral("Mincho");
        QTest::newRow("Gothic") << QStringLiteral("Gothic");
    }
    void repairsEverySharedGlyph()
    {
        QFETCH(QString, face);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils are not installed");
        const QString ideographs =
            sharedGlyphIdeographs(QStringLiteral("/usr/share/fonts/opentype/ipaexfont-%1/ipaex%2.ttf")
                                      .arg(face.toLower(), face.at(0).toLower()));
        for (const QChar c : QStringLiteral("月日金田目用長西戸")) // else the font set-up is wrong
            QVERIFY2(ideographs.contains(c), qPrintable(face + c));
        const QString text = QStringLiteral("御請求金額12月千代田区") + ideographs;
        const QByteArray pdf = renderPdf(text, QStringLiteral("IPAex") + face);
        const QList<uint> wrong = extractText(pdf).toUcs4(); // before the repair
        QCOMPARE(wrong.size(), text.toUcs4().size());
        QCOMPARE(std::count_if(wrong.cbegin(), wrong.cend(), isRadical), 3 + ideographs.toUcs4().size()); // 金月田
        const QByteArray repaired = repairPdfText(pdf);
        QVERIFY2(!repaired.contains("begincmap"), "the maps are written compressed");
        QCOMPARE(repairPdfText(repaired), repaired);
        QCOMPARE(extractText(repaired), text); // with no complaint about the structure
    }

    void leavesWhatItCannotReadUnchanged_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        const QByteArray qtPdf = renderPdf(QStringLiteral("御請求金額 12月 千代田区"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a PDF") << QByteArray("this is not a PDF at all \x01\x02\xff startxref 12 %%EOF");
        QTest::newRow("truncated before its xref") << qtPdf.left(qtPdf.lastIndexOf("xref"));
        QTest::newRow("no shared glyph") << renderPdf(QStringLiteral("御請求書 No. 42"));
    }
    void leavesWhatItCannotReadUnchanged()
    {
        QFETCH(QByteArray, pdf);
        QCOMPARE(repairPdfText(pdf), pdf);
    }

    void rewritesRadicalDestinations_data()
    {
        QTest::addColumn<QByteArray>("cmap");
        QTest::addColumn<QByteArray>("expected");
        // ⽉ → 月 by NFKC; ⺇ → 𠘨 and ⼾ → 戸 by the glyph the font shares (NFKC gives none, or 戶)
        QTest::newRow("bfchar") << QByteArray("begincmap\n4 beginbfchar\n<0001> <2F49>\n<0002> <2E87>\n<0003> <2F3E>\n"
                                              "<0004> <0041>\nendbfchar\nendcmap")
                                << QByteArray("begincmap\n4 beginbfchar\n<0001> <6708>\n<0002> <D841DE28>\n"
                                              "<0003> <6238>\n<0004> <0041>\nendbfchar\nendcmap");
        // ⽇⽈⽉ no longer count up as 日曰月: that range becomes single entries, the others stay
        QTest::newRow("bfrange split") << QByteArray("3 beginbfrange <0020> <0021> <0041> <0010> <0012> <2F47> "
                                                     "<0030> <0031> [<2F49> <0042>] endbfrange endcmap")
                                       << QByteArray("2 beginbfrange\n<0020> <0021> <0041>\n<0030> <0031> [<6708> "
                                                     "<0042>]\nendbfrange\n3 beginbfchar\n<0010> <65E5>\n"
                                                     "<0011> <66F0>\n<0012> <6708>\nendbfchar endcmap");
        const QByteArray unreadable = "2 beginbfchar <0001> <2F49> <0002> endbfchar";
        QTest::newRow("unreadable") << unreadable << unreadable;
    }
    void rewritesRadicalDestinations()
    {
        QFETCH(QByteArray, cmap);
        QTEST(withIdeographDestinations(cmap), "expected");
    }
};

QTEST_MAIN(TestPdfText)
#include "tst_pdftext.moc"
