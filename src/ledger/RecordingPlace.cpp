#include "ledger/RecordingPlace.h"

#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

namespace seikyu {

QString recordingUserName()
{
    for (const char *variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    if (const passwd *account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
    return QString::number(geteuid());
}

QString recordingHostName()
{
    return QSysInfo::machineHostName();
}

} // namespace seikyu
