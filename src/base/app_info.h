#pragma once

#include "base/version.h"

#include <QString>

namespace tormel {

inline QString applicationTitle() { return QStringLiteral("Tormel_Vue"); }
// The caption of the short messages that name the maker's program only.
inline QString shortCaption() { return QStringLiteral("Tormel"); }
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
}

}  // namespace tormel
