#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslations, "seikyu.translations", QtInfoMsg)

namespace seikyu {

namespace {

// Both translators are children of the application and carry these names, so a second call
// finds and replaces them instead of stacking a second language on top of the first.
constexpr auto QtTranslatorName = "seikyu-qt-translator";
constexpr auto OwnTranslatorName = "seikyu-translator";

void removeInstalled(QCoreApplication &app)
{
    const QList<QTranslator *> translators = app.findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly);
    for (QTranslator *translator : translators) {
        if (translator->objectName() == QLatin1String(QtTranslatorName) ||
            translator->objectName() == QLatin1String(OwnTranslatorName)) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
}

/// Loads "<name>_<language>.qm" for the locale's interface languages from the folder; installs it
/// only when one was found, because an empty translator would still be asked for every text.
void install(QCoreApplication &app, const QLocale &locale, const QString &name, const QString &folder,
             const char *objectName)
{
    auto *translator = new QTranslator(&app);
    translator->setObjectName(QLatin1String(objectName));
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator)) {
        qCDebug(lcTranslations) << "installed" << translator->filePath();
        return;
    }
    delete translator;
}

} // namespace

void installTranslations(QCoreApplication &app)
{
    removeInstalled(app);
    // QLocale() follows LANGUAGE as well as LANG, so a person who reads Japanese first on an English
    // system gets Japanese. English needs no catalogue of ours: the source texts are English.
    const QLocale locale;
    // Debian puts Qt's translations into qt6-translations-l10n; without it Qt's buttons stay
    // English while Seikyu's texts are still translated.
    install(app, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QtTranslatorName);
    install(app, locale, QStringLiteral("seikyu"), QStringLiteral(":/seikyu/i18n"), OwnTranslatorName);
}

} // namespace seikyu
