#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace seikyu {

/// Decides from the downloaded update file whether to tell the user about a newer version.
///
/// \a updateFile is a JSON array of objects with the string fields "name", "dots" (the lowest
/// operating-system version, major.minor) and "vers" (the published version). The first entry whose
/// name equals \a appName decides: the notice shows when \a osVersion (major × 100 + minor) reaches
/// "dots" and \a appVersion orders before "vers" as text. An empty \a appVersion means the running
/// application has no version and never gets a notice. Anything malformed gives false.
bool updateNoticeWanted(const QByteArray &updateFile, const QString &appName, const QString &appVersion, int osVersion);

/// This machine's operating-system version as major × 100 + minor: the version Qt knows for the
/// platform, else the kernel release (6.1.0-18-amd64 gives 601); 0 when neither is available.
int osVersionNumber();

/// The product page of \a appName: \a baseUrl, then the name in lower case with everything but
/// letters, marks and numbers removed, then ".html". Letters outside ASCII are percent-encoded.
QUrl productPageUrl(const QString &baseUrl, const QString &appName);

} // namespace seikyu
