#pragma once

#include <QString>

namespace seikyu {

/// Gives the reason something failed to a caller that asked for it (`error` not null).
inline void setReason(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
}

} // namespace seikyu
