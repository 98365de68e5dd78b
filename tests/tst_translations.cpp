// The Japanese interface: the committed catalogue is complete, covers every text the code asks
// for, and switches with the locale while the page's own Japanese texts stay as they are.
#include "app/Translations.h"
#include "help/HelpTopics.h"
#include "support/TestSupport.h"
#include "widgets/SegmentedControl.h"

#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>

using namespace seikyu;

namespace {

/// The source of each live message of a Qt Linguist file that lacks a finished translation or loses
/// or invents a %1 … %9 or %n marker.
QStringList unfinished(const QString &path)
{
    static const QRegularExpression message(QStringLiteral("<source>(.*?)</source>.*?<translation( type=\"(\\w+)\")?>"
                                                           "(.*?)</translation>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QStringList faults;
    int live = 0;
    for (const QRegularExpressionMatch &m : message.globalMatch(QString::fromUtf8(test::readAll(path)))) {
        const QString source = m.captured(1), type = m.captured(3), text = m.captured(4);
        if (type == u"vanished" || type == u"obsolete")
            continue;
        ++live;
        bool markersDiffer = false;
        for (const QChar marker : QStringLiteral("123456789n"))
            markersDiffer |= source.contains(u'%' + QString(marker)) != text.contains(u'%' + QString(marker));
        if (!type.isEmpty() || text.trimmed().isEmpty() || markersDiffer)
            faults.append(source);
    }
    if (live < 50)
        faults.append(QStringLiteral("%1: only %2 messages read").arg(path).arg(live));
    return faults;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::initApplication(); }

    void everyTextIsTranslated()
    {
        // lupdate merges the code's texts into a copy of the catalogue, filed under the context the code looks them up
        // in at run time (a tr() outside a class shows as an unknown context); a new text comes in unfinished.
        const QString source = qEnvironmentVariable("SEIKYU_SOURCE_DIR");
        const QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
        QTemporaryDir scratch;
        const QString merged = scratch.filePath(QStringLiteral("seikyu_ja.ts"));
        QVERIFY(QFile::copy(source + QStringLiteral("/translations/seikyu_ja.ts"), merged));
        QVERIFY2(unfinished(merged).isEmpty(), qPrintable(unfinished(merged).join(u'\n')));
        if (!QFileInfo(lupdate).isExecutable())
            QSKIP("lupdate is not installed (Debian package qt6-l10n-tools)");
        QCOMPARE(QProcess::execute(lupdate, {"-silent", "-recursive", source + QStringLiteral("/src"), "-ts", merged}),
                 0);
        QVERIFY2(unfinished(merged).isEmpty(),
                 qPrintable("build update_translations and translate:\n" + unfinished(merged).join(u'\n')));
    }

    void interface_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("texts");
        QTest::newRow("ja_JP")
            << "ja_JP"
            << "ファイル(&F) | 別名で保存(&A)… | PDFを書き出せませんでした | 概要 | 名称未設定 | 元に戻す 行を追加";
        QTest::newRow("en_US") << "en_US"
                               << "&File | Save &As… | Failed writing PDF | Summary | Untitled | Undo Add a Row";
    }
    void interface()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        installTranslations(*qApp);
        const auto menu = [](const char *text) { return QCoreApplication::translate("MainMenu", text); };
        // The document's texts are looked up as it is built and as each edit is recorded.
        const std::unique_ptr<Document> document = test::makeDocument();
        std::unique_ptr<QAction> undo(document->undoStack()->createUndoAction(nullptr, menu("Undo")));
        document->tblePlus();
        const QStringList shown{menu("&File"),
                                menu("Save &As…"),
                                QCoreApplication::translate("PdfExport", "Failed writing PDF"),
                                helpTopics().constFirst().head,
                                document->displayName(),
                                undo->text()};
        QTEST(shown.join(QStringLiteral(" | ")), "texts");
        // The page's own texts are data and read the same in every interface language.
        QVERIFY(document->sums->title().contains(QStringLiteral("御請求金額")));
        QCOMPARE(document->tail->labelForSegment(1), QStringLiteral("様"));
        QCOMPARE(test::tableTexts(*document).constFirst(), QStringLiteral("日付|項目|単価|個数|価格"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
