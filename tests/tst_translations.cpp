// The Japanese interface: the committed catalogue is complete, covers every text the code asks
// for, is what the program embeds, and switches with the locale while the page's own Japanese
// texts stay as they are.
#include "app/Translations.h"
#include "document/Document.h"
#include "help/HelpTopics.h"
#include "support/TestSupport.h"
#include "table/ItemTableModel.h"
#include "widgets/PageButton.h"
#include "widgets/SegmentedControl.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QXmlStreamReader>
#include <memory>

using namespace seikyu;

namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type;         ///< "" when finished, else "unfinished", "vanished" or "obsolete"
    bool numerus = false; ///< a %n text; translation holds its plural forms, one a line
};

/// The messages of a Qt Linguist file, with the language it declares.
QList<Message> readCatalogue(const QString &path, QString *language = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QString context;
    Message current;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("TS") && language) {
            *language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current =
                Message{context, {}, {}, {}, xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes")};
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            if (current.numerus) {
                QStringList forms;
                while (xml.readNextStartElement())
                    forms.append(xml.readElementText());
                current.translation = forms.join(QLatin1Char('\n'));
            } else {
                current.translation = xml.readElementText();
            }
            messages.append(current);
        }
    }
    if (xml.hasError())
        qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return messages;
}

QString key(const Message &message)
{
    return message.context + QLatin1Char('\x1f') + message.source;
}

bool isLive(const Message &message)
{
    return message.type != QLatin1String("vanished") && message.type != QLatin1String("obsolete");
}

/// The %1 … %9 and %n markers a text fills in; a translation that loses or invents one shows raw markers
/// or drops a file name.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%[1-9n]"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

/// Whether a menu text carries a keyboard mnemonic ("&File"; "&&" is a literal ampersand).
bool hasMnemonic(const QString &text)
{
    return QString(text).remove(QStringLiteral("&&")).contains(QLatin1Char('&'));
}

QString sourceRoot()
{
    // The test environment points SEIKYU_TEST_DATA at <source>/tests/data.
    const QString data = qEnvironmentVariable("SEIKYU_TEST_DATA");
    if (data.isEmpty())
        return {};
    return QDir::cleanPath(data + QStringLiteral("/../.."));
}

QString cataloguePath()
{
    return sourceRoot() + QStringLiteral("/translations/seikyu_ja.ts");
}

QString menuText(const char *text)
{
    return QCoreApplication::translate("MainMenu", text);
}

/// The page's own texts, which are data and read the same in every interface language.
void checkPageData(const Document &document)
{
    QVERIFY(document.sums);
    QVERIFY2(document.sums->title().contains(QStringLiteral("御請求金額")), qPrintable(document.sums->title()));
    QVERIFY(document.tail);
    QCOMPARE(document.tail->labelForSegment(0), QStringLiteral("御中"));
    QCOMPARE(document.tail->labelForSegment(1), QStringLiteral("様"));
    const QStringList rows = test::tableTexts(document);
    QVERIFY(!rows.isEmpty());
    QCOMPARE(rows.first(), QStringLiteral("日付|項目|単価|個数|価格"));
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void catalogueIsFinished();
    void everyTextOfTheCodeIsTranslated();
    void embeddedCatalogueIsTheCommittedOne();
    void japaneseInterface();
    void englishInterface();

private:
    void useLanguage(const QLocale &locale);

    QList<Message> m_catalogue;
};

void TranslationsTest::initTestCase()
{
    test::initApplication();
    QString language;
    m_catalogue = readCatalogue(cataloguePath(), &language);
    QVERIFY2(!m_catalogue.isEmpty(), qPrintable(QStringLiteral("no messages read from ") + cataloguePath()));
    QCOMPARE(language.left(2), QStringLiteral("ja"));
}

void TranslationsTest::cleanup()
{
    QLocale::setDefault(QLocale::system());
    installTranslations(*qApp);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TranslationsTest::useLanguage(const QLocale &locale)
{
    QLocale::setDefault(locale);
    installTranslations(*qApp);
}

void TranslationsTest::catalogueIsFinished()
{
    QStringList faults;
    QSet<QString> seen;
    for (const Message &message : std::as_const(m_catalogue)) {
        if (!isLive(message))
            continue;
        const QString where = message.context + QStringLiteral(": ") + message.source;
        if (seen.contains(key(message)))
            faults.append(QStringLiteral("twice: ") + where);
        seen.insert(key(message));
        if (!message.type.isEmpty() || message.translation.trimmed().isEmpty() ||
            message.translation.split(QLatin1Char('\n')).contains(QString())) {
            faults.append(QStringLiteral("not translated: ") + where);
            continue;
        }
        if (placeholders(message.source) != placeholders(message.translation))
            faults.append(QStringLiteral("placeholders differ: ") + where + QStringLiteral(" → ") +
                          message.translation);
        if (hasMnemonic(message.source) != hasMnemonic(message.translation))
            faults.append(QStringLiteral("mnemonic lost or added: ") + where + QStringLiteral(" → ") +
                          message.translation);
        if (!message.numerus && message.source.count(QLatin1Char('\n')) != message.translation.count(QLatin1Char('\n')))
            faults.append(QStringLiteral("line breaks differ: ") + where);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TranslationsTest::everyTextOfTheCodeIsTranslated()
{
    // lupdate finds the texts the way a translator's tools do: a text it files under another
    // context than the one the code looks up at run time would never be translated.
    QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
    if (!QFileInfo(lupdate).isExecutable())
        lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
    if (lupdate.isEmpty())
        QSKIP("lupdate is not installed (Debian package qt6-l10n-tools)");

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString scanned = scratch.filePath(QStringLiteral("scan_ja.ts"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(lupdate, {QStringLiteral("-silent"), QStringLiteral("-recursive"),
                            sourceRoot() + QStringLiteral("/src"), QStringLiteral("-ts"), scanned});
    QVERIFY2(process.waitForFinished(120000), qPrintable(process.errorString()));
    QVERIFY2(process.exitCode() == 0, process.readAll().constData());

    const QList<Message> found = readCatalogue(scanned);
    QVERIFY2(found.size() > 50, qPrintable(QStringLiteral("lupdate found only %1 texts").arg(found.size())));
    QHash<QString, Message> committed;
    for (const Message &message : std::as_const(m_catalogue)) {
        if (isLive(message))
            committed.insert(key(message), message);
    }
    QStringList missing;
    for (const Message &message : found) {
        const auto it = committed.constFind(key(message));
        if (it == committed.cend() || !it->type.isEmpty() || it->translation.isEmpty())
            missing.append(message.context + QStringLiteral(": ") + message.source);
    }
    for (const QString &text : std::as_const(missing))
        qWarning("no Japanese translation: %s", qPrintable(text));
    // A text filed under a context that only lupdate sees ("seikyu", a class without tr()) is a
    // tr() call outside a class: give the file a Q_DECLARE_TR_FUNCTIONS class and call its tr().
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("%1 texts of the code have no Japanese translation; build "
                                                          "the update_translations target and translate them")
                                               .arg(missing.size())));
}

void TranslationsTest::embeddedCatalogueIsTheCommittedOne()
{
    useLanguage(QLocale(QLocale::Japanese, QLocale::Japan));
    QStringList differing;
    for (const Message &message : std::as_const(m_catalogue)) {
        if (!isLive(message))
            continue;
        // Japanese has one plural form; the catalogue fills in the count.
        const int count = message.numerus ? 3 : -1;
        const QString expected = message.numerus
                                     ? QString(message.translation).replace(QStringLiteral("%n"), QStringLiteral("3"))
                                     : message.translation;
        const QString shown = QCoreApplication::translate(message.context.toUtf8().constData(),
                                                          message.source.toUtf8().constData(), nullptr, count);
        if (shown != expected)
            differing.append(message.context + QStringLiteral(": ") + message.source + QStringLiteral(" → ") + shown);
    }
    QVERIFY2(differing.isEmpty(), qPrintable(differing.join(QLatin1Char('\n'))));
}

void TranslationsTest::japaneseInterface()
{
    useLanguage(QLocale(QLocale::Japanese, QLocale::Japan));

    QCOMPARE(menuText("&File"), QStringLiteral("ファイル(&F)"));
    QCOMPARE(menuText("&Edit"), QStringLiteral("編集(&E)"));
    QCOMPARE(menuText("&Help"), QStringLiteral("ヘルプ(&H)"));
    QCOMPARE(menuText("Save &As…"), QStringLiteral("別名で保存(&A)…"));
    QCOMPARE(menuText("&Export as PDF…"), QStringLiteral("PDFとして書き出す(&E)…"));
    QCOMPARE(QCoreApplication::translate("PdfExport", "Failed writing PDF"),
             QStringLiteral("PDFを書き出せませんでした"));
    QCOMPARE(QCoreApplication::translate("PagePrinter", "Failed"), QStringLiteral("失敗しました"));

    const QList<HelpTopic> topics = helpTopics();
    QCOMPARE(topics.size(), 4);
    QCOMPARE(topics.at(0).head, QStringLiteral("概要"));
    for (const HelpTopic &topic : topics)
        QVERIFY2(topic.body.contains(QChar(0x3002)), qPrintable(topic.body)); // 。 ends a Japanese sentence

    // Qt's own buttons come from the system's Qt catalogue when Debian's qt6-translations-l10n
    // provides it.
    if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")))
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));

    // The document's texts are looked up as it is built and as each edit is recorded.
    const std::unique_ptr<Document> document = test::makeDocument();
    QCOMPARE(document->displayName(), QStringLiteral("名称未設定"));
    std::unique_ptr<QAction> undo(document->undoStack()->createUndoAction(nullptr, menuText("Undo")));
    document->tblePlus();
    QCOMPARE(document->undoStack()->undoText(), QStringLiteral("行を追加"));
    QCOMPARE(undo->text(), QStringLiteral("元に戻す 行を追加"));
    QVERIFY(test::tableTexts(*document).last().contains(QStringLiteral("ダブルクリックして編集")));
    checkPageData(*document);
}

void TranslationsTest::englishInterface()
{
    // Japanese first, so that this also proves a second call takes the first language away.
    useLanguage(QLocale(QLocale::Japanese, QLocale::Japan));
    QCOMPARE(menuText("&File"), QStringLiteral("ファイル(&F)"));
    useLanguage(QLocale(QLocale::English, QLocale::UnitedStates));

    QCOMPARE(menuText("&File"), QStringLiteral("&File"));
    QCOMPARE(QCoreApplication::translate("PdfExport", "Failed writing PDF"), QStringLiteral("Failed writing PDF"));
    QCOMPARE(helpTopics().at(0).head, QStringLiteral("Summary"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

    const std::unique_ptr<Document> document = test::makeDocument();
    QCOMPARE(document->displayName(), QStringLiteral("Untitled"));
    std::unique_ptr<QAction> undo(document->undoStack()->createUndoAction(nullptr, menuText("Undo")));
    document->tblePlus();
    QCOMPARE(document->undoStack()->undoText(), QStringLiteral("Add a Row"));
    QCOMPARE(undo->text(), QStringLiteral("Undo Add a Row"));
    QVERIFY(test::tableTexts(*document).last().contains(QStringLiteral("double click to edit")));
    checkPageData(*document);
}

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
