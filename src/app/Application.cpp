#include "app/Application.h"

#include "app/Translations.h"
#include "document/PrivateFiles.h"
#include "page/PageFonts.h"

#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QLoggingCategory>
#include <QSettings>

static void initResources()
{
    // The resources live in the static core library, which the linker does not register by itself.
    Q_INIT_RESOURCE(resources);
}

namespace seikyu {

void configureApplication(QGuiApplication &app)
{
    initResources();
    QGuiApplication::setApplicationName(QStringLiteral("Seikyu"));
    QGuiApplication::setOrganizationName(QStringLiteral("Seikyu"));
    QGuiApplication::setApplicationVersion(QStringLiteral(SEIKYU_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("seikyu"));
    // Before any window, menu or undo text exists: texts are translated when they are made.
    installTranslations(app);
    // The settings hold the bank account and the customers: the owner's alone, the file made so
    // before the first write, as that write keeps the permissions of the file it replaces.
    const QString settings = QSettings().fileName();
    QDir().mkpath(QFileInfo(settings).absolutePath());
    createPrivate(settings);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/seikyu/icon.svg")));
    app.setQuitOnLastWindowClosed(true);

    // The page must be set in its own face; without it Qt mixes several CJK fonts on one page.
    // Under a Japanese locale fontconfig reports the family by its Japanese name.
    const QFontInfo info(pageFont(12));
    if (info.family() != QLatin1String("IPAexMincho") && info.family() != QStringLiteral("IPAex明朝"))
        qWarning("Seikyu: the page font IPAex Mincho is not installed (got %s); install fonts-ipaexfont.",
                 qPrintable(info.family()));
}

} // namespace seikyu
