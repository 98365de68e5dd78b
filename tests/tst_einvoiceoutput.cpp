// The e-invoice leaving the application: File ▸ Export e-Invoice, Export as PDF with the e-invoice attached
// (PDF/A-3, checked with PDFBox Preflight, pdfdetach and rendered against the plain export), the command line,
// and the customer's electronic address in the customer panel and the file.
#include "einvoice/EInvoiceBatch.h"
#include "einvoice/EInvoiceExport.h"
#include "einvoice/PdfA3.h"
#include "ledger/LedgerStore.h"
#include "output/BatchExport.h"
#include "output/PdfExport.h"
#include "sections/CustomerPeers.h"
#include "sections/SavedLists.h"
#include "support/EInvoiceChecks.h"
#include "support/PdfTools.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>

using namespace seikyu;
using namespace seikyu::test;

namespace {

/// The food wholesaler's qualified invoice: two rates, totalled, with the customer's corporate number.
QByteArray foodInvoice(const QString &peer = QStringLiteral("0188:9234567890123"))
{
    QByteArray bytes =
        R"json({"head": "請求書", "date": "2026-12-05", "whom": "株式会社丸の内商事", "tail": 0, "jgen": 0,
        "plus": 1, "rate": 10, "numb": "INV-2026-0042", "dues": "2026-12-31", "note": "いつもありがとうございます",
        "from": "〒100-0005\n東京都千代田区丸の内1-1\n山田食品株式会社\n03-1234-5678\nみずほ銀行 丸の内支店 普通 1234567\nT8010001000003",
        "full": "\b御請求金額\n￥34,362", "item": [{"date": "日付", "name": "項目", "solo": "", "much": "個数", "sums": "価格"},
        {"date": "12-01", "name": "米 5kg", "solo": "2480", "much": "10袋", "sums": "24800", "rate": 8},
        {"date": "12-02", "name": "配送料", "solo": "1100", "much": "2回", "sums": "2200"},
        {"date": "12-03", "name": "醤油 1L", "solo": "398", "much": "12本", "sums": "4776", "rate": 8},
        {"date": " ", "name": " ", "solo": "", "much": " ", "sums": " "},
        {"date": " ", "name": " ", "solo": "", "much": "10%対象", "sums": "2200"},
        {"date": " ", "name": " ", "solo": "", "much": "消費税(10%)", "sums": "220"},
        {"date": " ", "name": " ", "solo": "", "much": "8%対象", "sums": "29576"},
        {"date": " ", "name": " ", "solo": "", "much": "消費税(8%)", "sums": "2366"},
        {"date": " ", "name": " ", "solo": "", "much": "合計", "sums": "34362"}]PEER})json";
    return bytes.replace("PEER", peer.isEmpty() ? QByteArray() : ", \"peer\": \"" + peer.toUtf8() + '"');
}

/// What a program writes, its complaints included.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return QStringLiteral("(did not finish)");
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

/// PDFBox Preflight's findings for a file (it validates PDF/A-1b), by their codes.
QStringList preflightFindings(const QString &pdf)
{
    const QString java = QStringLiteral("/usr/share/java/");
    QStringList classPath;
    for (const char *jar : {"pdfbox2.jar", "preflight.jar", "fontbox2.jar", "xmpbox.jar", "commons-logging.jar",
                            "javax.activation.jar", "jaxb-api.jar"})
        classPath.append(java + QString::fromLatin1(jar));
    const QString output =
        run(QStringLiteral("java"), {"-cp", classPath.join(':'), "org.apache.pdfbox.preflight.Validator_A1b", pdf});
    QStringList codes;
    static const QRegularExpression finding(QStringLiteral("^(\\d+\\.\\d+(?:\\.\\d+)?) : "),
                                            QRegularExpression::MultilineOption);
    for (auto it = finding.globalMatch(output); it.hasNext();)
        codes.append(it.next().captured(1));
    if (codes.isEmpty() && !output.contains(QStringLiteral("is a valid PDF/A-1b")))
        codes.append(QStringLiteral("preflight did not run: ") + output.left(300));
    codes.sort();
    codes.removeDuplicates();
    return codes;
}

} // namespace

class EInvoiceOutputTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<UblSchema> m_schema;
    QList<WrittenEInvoice> m_heard;

private slots:
    void initTestCase()
    {
        initApplication();
        QVERIFY(m_dir.isValid());
        m_schema = std::make_unique<UblSchema>();
        QVERIFY(m_schema->isLoaded());
    }
    void init()
    {
        clearSettings();
        m_heard.clear();
        setEInvoiceObserver([this](const WrittenEInvoice &written) { m_heard.append(written); });
    }
    void cleanup() { setEInvoiceObserver({}); }

    void thePdfA3IsValidCarriesTheXmlAndLooksLikeThePlainPdf_data()
    {
        QTest::addColumn<bool>("seal");
        // Only what PDF/A-1b forbids and PDF/A-3 allows: the embedded file (twice) and part 3; with a
        // transparent seal, its soft mask too.
        QTest::addColumn<QStringList>("findings");
        QTest::newRow("no seal") << false << QStringList{"1.2.9", "1.4.7", "7.11.2"};
        QTest::newRow("a transparent seal") << true << QStringList{"1.2.9", "1.4.7", "2.2.2", "7.11.2"};
    }
    void thePdfA3IsValidCarriesTheXmlAndLooksLikeThePlainPdf()
    {
        QFETCH(bool, seal);
        if (seal) {
            QImage stamp(120, 120, QImage::Format_ARGB32);
            stamp.fill(QColor(200, 30, 30, 128));
            SavedLists::instance().setStamp(encodedImage(stamp, "PNG"));
        }
        const std::unique_ptr<Document> document = makeDocument(foodInvoice());
        const QByteArray plain = renderPagePdf(*document, QStringLiteral("INV-2026-0042"));
        const EInvoice invoice = eInvoiceOf(*document);
        QVERIFY2(invoice.ok(), qPrintable(invoice.refusals.join('\n')));
        const QByteArray xml = eInvoiceXml(invoice);
        const Result<QByteArray> made = pdfWithEInvoice(plain, xml, QStringLiteral("INV-2026-0042.xml"));
        QVERIFY2(made, qPrintable(made.message()));
        const QByteArray a3 = *made;
        const QString folder = m_dir.filePath(QTest::currentDataTag());
        const QString plainPath = writeFile(folder + "/plain.pdf", plain);
        const QString a3Path = writeFile(folder + "/hybrid.pdf", a3);
        QTEST(preflightFindings(a3Path), "findings");
        // The attachment comes out byte for byte.
        QVERIFY(run("pdfdetach", {"-list", a3Path}).contains(QStringLiteral("INV-2026-0042.xml")));
        const QString extracted = folder + "/extracted.xml";
        run("pdfdetach", {"-save", "1", "-o", extracted, a3Path});
        QCOMPARE(readAll(extracted), xml);
        QVERIFY(m_schema->violations(readAll(extracted)).isEmpty());
        // Its associated-file particulars (the dictionaries are not compressed).
        for (const char *particular :
             {"/AFRelationship /Alternative", "/Subtype /text#2fxml", "/AF [", "<pdfaid:part>3</pdfaid:part>"})
            QVERIFY2(a3.contains(particular), particular);
        // The page shows and reads as the plain export's.
        const QImage plainPage = pdfFirstPage(plainPath);
        QVERIFY(!plainPage.isNull());
        QCOMPARE(pdfFirstPage(a3Path), plainPage);
        QCOMPARE(run("pdftotext", {"-enc", "UTF-8", a3Path, "-"}), run("pdftotext", {"-enc", "UTF-8", plainPath, "-"}));
    }

    void aMissingColourProfileIsReportedNotWritten()
    {
        const Result<QByteArray> withoutProfile = makePdfA3("%PDF-1.4", {}, QByteArray());
        QVERIFY(!withoutProfile);
        QVERIFY(withoutProfile.message().contains(QStringLiteral("icc-profiles-free")));
        // Bytes that are no PDF are refused with a reason, not thrown.
        QByteArray fakeProfile(200, '\0');
        fakeProfile.replace(36, 4, "acsp");
        const Result<QByteArray> noPdf = makePdfA3("not a pdf", {}, fakeProfile);
        QVERIFY(!noPdf);
        QVERIFY(!noPdf.message().isEmpty());
    }

    void theMenuExportsTheXmlOrRefusesInPlainWords()
    {
        PrompterGuard prompts;
        const std::unique_ptr<Document> document = makeDocument(foodInvoice());
        QVERIFY(child<QWidget>(*document, QStringLiteral("whomPeer")));
        const QString path = m_dir.filePath("menu/INV-2026-0042");
        QDir().mkpath(m_dir.filePath("menu"));
        prompts->saveAnswers = {path};
        exportEInvoice(*document, nullptr);
        QVERIFY2(prompts->alerts.isEmpty(), qPrintable(prompts->alerts.join('\n')));
        const QByteArray xml = readAll(path + ".xml");
        QCOMPARE(xml, eInvoiceXml(eInvoiceOf(*document)));
        QVERIFY(m_schema->violations(xml).isEmpty());
        QCOMPARE(m_heard.size(), 1);
        QCOMPARE(m_heard.first().path, path + ".xml");
        QCOMPARE(m_heard.first().xml, xml);
        QVERIFY(!document->isEdited());

        // Without the customer's address: refused before any dialog, nothing written.
        const std::unique_ptr<Document> lacking = makeDocument(foodInvoice(QString()));
        prompts->saveAnswers = {m_dir.filePath("menu/lacking.xml")};
        exportEInvoice(*lacking, nullptr);
        QCOMPARE(prompts->saveProposals.size(), 1);
        QCOMPARE(prompts->alerts.size(), 1);
        QVERIFY(prompts->alerts.first().contains(QStringLiteral("electronic address")));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("menu/lacking.xml")));
        QCOMPARE(m_heard.size(), 1);
    }

    void exportAsPdfAttachesTheEInvoiceWhenAsked()
    {
        PrompterGuard prompts;
        const std::unique_ptr<Document> document = makeDocument(foodInvoice());
        QDir().mkpath(m_dir.filePath("attach"));
        QVERIFY(!attachesEInvoice());
        prompts->saveAnswers = {m_dir.filePath("attach/plain.pdf")};
        exportPdfMaybeWithEInvoice(*document, nullptr);
        QVERIFY(!run("pdfdetach", {"-list", m_dir.filePath("attach/plain.pdf")}).contains(".xml"));
        QVERIFY(m_heard.isEmpty());

        setAttachesEInvoice(true);
        QVERIFY(attachesEInvoice()); // remembered
        prompts->saveAnswers = {m_dir.filePath("attach/hybrid.pdf")};
        exportPdfMaybeWithEInvoice(*document, nullptr);
        QVERIFY2(prompts->alerts.isEmpty(), qPrintable(prompts->alerts.join('\n')));
        QVERIFY(run("pdfdetach", {"-list", m_dir.filePath("attach/hybrid.pdf")}).contains("hybrid.xml"));
        QCOMPARE(m_heard.size(), 1);
        QVERIFY(m_heard.first().inPdf);

        // An invoice that cannot be an e-invoice: refused, no PDF either.
        const std::unique_ptr<Document> lacking = makeDocument(foodInvoice(QString()));
        prompts->saveAnswers = {m_dir.filePath("attach/lacking.pdf")};
        exportPdfMaybeWithEInvoice(*lacking, nullptr);
        QCOMPARE(prompts->alerts.size(), 1);
        QVERIFY(!QFileInfo::exists(m_dir.filePath("attach/lacking.pdf")));
    }

    void theCommandLineWritesEachAndReportsTheRest()
    {
        const QDir in(m_dir.filePath("cli"));
        const QStringList inputs{writeFile(in.filePath("in/food.seikyu"), foodInvoice()),
                                 writeFile(in.filePath("in/nopeer.seikyu"), foodInvoice(QString())),
                                 in.filePath("in/missing.seikyu"),
                                 writeFile(in.filePath("in/other.xml"), foodInvoice())};
        QStringList messages;
        QCOMPARE(exportInvoicesAsUbl(in.filePath("out"), inputs, &messages), 1);
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages.at(0).startsWith(inputs.at(1) + ": ") && messages.at(0).contains("e-invoice"),
                 qPrintable(messages.at(0)));
        QVERIFY(messages.at(1).startsWith(inputs.at(2) + ": "));
        QCOMPARE(QDir(in.filePath("out")).entryList(QDir::Files, QDir::Name), (QStringList{"food.xml", "other.xml"}));
        QVERIFY(m_schema->violations(readAll(in.filePath("out/food.xml"))).isEmpty());
        QCOMPARE(m_heard.size(), 2);
        // Never over an input: other.xml in its own folder.
        messages.clear();
        QCOMPARE(exportInvoicesAsUbl(in.filePath("in"), {inputs.at(3)}, &messages), 1);
        QCOMPARE(readAll(inputs.at(3)), foodInvoice());
        // Nothing to do.
        QCOMPARE(exportInvoicesAsUbl(in.filePath("out"), {}, &messages), 2);
        QCOMPARE(exportInvoicesAsUbl(inputs.at(0), {inputs.at(0), inputs.at(3)}, &messages), 2);
        // One file to a name ending in .xml.
        QCOMPARE(exportInvoicesAsUbl(in.filePath("single.xml"), {inputs.at(0)}, nullptr), 0);
        QCOMPARE(readAll(in.filePath("single.xml")), readAll(in.filePath("out/food.xml")));
        // Written, but its ledger could neither record it nor keep it waiting (and said which): a failure.
        setEInvoiceIssuer([](const WrittenEInvoice &, const std::function<Result<void>()> &write) {
            const Result<void> done = write();
            return done ? Result<IssuedEInvoice>(IssuedEInvoice{true}) : Result<IssuedEInvoice>(done.fault());
        });
        QCOMPARE(exportInvoicesAsUbl(in.filePath("lost.xml"), {inputs.at(0)}, nullptr), 1);
        setEInvoiceIssuer({});
        QVERIFY(QFileInfo::exists(in.filePath("lost.xml")));
        // What cannot be written is reported with why, and nobody hears of it: an XML whose name a
        // folder takes, PDFs that cannot carry their e-invoice without the colour profile.
        m_heard.clear();
        messages.clear();
        QVERIFY(QDir().mkpath(in.filePath("jammed/food.xml")));
        QCOMPARE(exportInvoicesAsUbl(in.filePath("jammed"), {inputs.at(0)}, &messages), 1);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).startsWith(inputs.at(0) + ": ") &&
                     messages.at(0).endsWith(QStringLiteral("a folder of that name is in the way")),
                 qPrintable(messages.at(0)));
        QVERIFY(m_heard.isEmpty());

        // The process itself, without a display; a due date in the year -1 refused, never written empty.
        const QString bc = writeFile(in.filePath("in/bc.seikyu"),
                                     foodInvoice().replace("\"dues\": \"2026-12-31\"", "\"dues\": \"-0001-12-31\""));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        for (const QStringList &arguments : {QStringList{"--export-ubl", in.filePath("proc")},
                                             QStringList{"--export-pdf", in.filePath("proc"), "--attach-ubl"}}) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(qEnvironmentVariable("SEIKYU_BINARY"), arguments + inputs.mid(0, 2) + QStringList{bc});
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), 1);
            const QStringList reported =
                QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
            QVERIFY2(reported.size() == 2, qPrintable(reported.join(u'\n')));
            QVERIFY2(reported.first().startsWith("seikyu: " + inputs.at(1) + ": "), qPrintable(reported.first()));
            QVERIFY2(reported.last().startsWith("seikyu: " + bc + ": ") && reported.last().contains("dues"),
                     qPrintable(reported.last()));
        }
        // Another customer's invoice under the same number: refused in one line naming the invoice
        // that holds it, nothing written; --reissue issues it as that invoice's correction.
        QTemporaryDir ownLedger;
        environment.insert(QStringLiteral("XDG_DATA_HOME"), ownLedger.path());
        const QString other =
            writeFile(in.filePath("in/taken.seikyu"), foodInvoice().replace("株式会社丸の内商事", "株式会社別会社"));
        for (const auto &[arguments, status] :
             {std::pair(QStringList{inputs.at(0)}, 0), std::pair(QStringList{other}, 1),
              std::pair(QStringList{"--reissue", other}, 0)}) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(qEnvironmentVariable("SEIKYU_BINARY"),
                          QStringList{"--export-ubl", in.filePath("taken")} + arguments);
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), status);
            const QString said = QString::fromUtf8(process.readAllStandardError());
            QCOMPARE(said.count(u'\n'), status);
            QVERIFY2(status == 0 || said.contains("株式会社丸の内商事"), qPrintable(said));
            QCOMPARE(QFileInfo::exists(in.filePath("taken/taken.xml")), arguments.contains("--reissue"));
        }
        {
            QProcessEnvironment withoutProfile = environment;
            withoutProfile.insert(QStringLiteral("SEIKYU_SRGB_PROFILE"), in.filePath("no-profile.icc"));
            QProcess process;
            process.setProcessEnvironment(withoutProfile);
            process.start(qEnvironmentVariable("SEIKYU_BINARY"),
                          QStringList{"--export-pdf", in.filePath("pdf"), "--attach-ubl", inputs.at(0), inputs.at(3)});
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), 1);
            const QString said = QString::fromUtf8(process.readAllStandardError());
            QVERIFY2(said.count(QStringLiteral("icc-profiles-free")) == 2, qPrintable(said));
            QVERIFY(QDir(in.filePath("pdf")).isEmpty());
        }
        QVERIFY(m_schema->violations(readAll(in.filePath("proc/food.xml"))).isEmpty());
        QVERIFY(!QFileInfo::exists(in.filePath("proc/nopeer.xml")));
        QVERIFY(!QFileInfo::exists(in.filePath("proc/nopeer.pdf")));
        QVERIFY(!QFileInfo::exists(in.filePath("proc/bc.xml")) && !QFileInfo::exists(in.filePath("proc/bc.pdf")));
        const QString hybrid = in.filePath("proc/food.pdf");
        run("pdfdetach", {"-save", "1", "-o", in.filePath("proc/attached.xml"), hybrid});
        QCOMPARE(readAll(in.filePath("proc/attached.xml")), readAll(in.filePath("proc/food.xml")));

        // Both runs are in the processes' ledger (in the data folder the environment names): the XML as
        // an e-invoice entry with its hash and archived copy, the PDF/A-3 as the batch's PDF.
        const QDir ledgerFolder(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Seikyu/Seikyu"));
        QString error;
        const auto ledger = LedgerStore::openSqlite(ledgerFolder.filePath("ledger.sqlite"), nullptr, &error);
        QVERIFY2(ledger, qPrintable(error));
        QList<LedgerEntry> eInvoices, pdfs;
        for (const LedgerEntry &entry : ledger->entries()) {
            if (entry.sourcePath == QFileInfo(inputs.at(0)).absoluteFilePath())
                (entry.channel == IssueChannel::EInvoice ? eInvoices : pdfs).append(entry);
        }
        QCOMPARE(eInvoices.size(), 1);
        QCOMPARE(pdfs.size(), 1);
        const QByteArray xml = readAll(in.filePath("proc/food.xml"));
        QCOMPARE(eInvoices.first().pdfSha256,
                 QString::fromLatin1(QCryptographicHash::hash(xml, QCryptographicHash::Sha256).toHex()));
        QVERIFY2(eInvoices.first().archiveName.endsWith(".xml"), qPrintable(eInvoices.first().archiveName));
        QCOMPARE(readAll(ledgerFolder.filePath("archive/" + eInvoices.first().archiveName)), xml);
        QCOMPARE(eInvoices.first().number, QStringLiteral("INV-2026-0042"));
        QCOMPARE(eInvoices.first().amount, 34362);
        QCOMPARE(channelKey(IssueChannel::EInvoice), QStringLiteral("e-invoice"));
    }

    void theCustomersAddressIsTypedOnceAndKept()
    {
        PrompterGuard prompts;
        SavedLists::instance().save({QStringLiteral("株式会社丸の内商事"), QStringLiteral("山田花子")}, "whom");
        const std::unique_ptr<Document> document = makeDocument();
        auto *field = child<QLineEdit>(*document, "whomPeer");
        auto *ok = child<QPushButton>(*document, "whomCtrlOk");
        auto *dial = child<QComboBox>(*document, "whomDial");
        auto *status = child<QLabel>(*document, "whomPeerNote");
        document->whomShow();
        dial->setCurrentIndex(0);
        QTest::keyClicks(field, "0188:92345");
        QVERIFY(!ok->isEnabled());
        QVERIFY(status->text().contains("13"));
        QTest::keyClicks(field, "67890124");
        QVERIFY(!ok->isEnabled()); // the check digit does not match
        field->clear();
        field->insert(QStringLiteral("０１８８：９２３４５６７８９０１２３")); // as an input method gives it
        QVERIFY(ok->isEnabled());
        ok->click();
        QCOMPARE(document->peer(), QStringLiteral("0188:9234567890123"));
        QCOMPARE(storedPeerOf(QStringLiteral("株式会社丸の内商事")), QStringLiteral("0188:9234567890123"));
        QCOMPARE(QJsonDocument::fromJson(document->dataOfType()).object().value("peer").toString(),
                 QStringLiteral("0188:9234567890123"));

        // The next invoice for the same customer finds the address with the customer.
        const std::unique_ptr<Document> next = makeDocument();
        next->whomShow();
        child<QComboBox>(*next, "whomDial")->setCurrentIndex(1);
        QVERIFY(child<QLineEdit>(*next, "whomPeer")->text().isEmpty());
        child<QComboBox>(*next, "whomDial")->setCurrentIndex(0);
        QCOMPARE(child<QLineEdit>(*next, "whomPeer")->text(), QStringLiteral("0188:9234567890123"));
        child<QPushButton>(*next, "whomCtrlOk")->click();
        QCOMPARE(next->peer(), QStringLiteral("0188:9234567890123"));
    }
};

QTEST_MAIN(EInvoiceOutputTest)
#include "tst_einvoiceoutput.moc"
