#pragma once

#include <QString>

namespace tormel {

inline QString applicationTitle() { return QStringLiteral("Tormel_Vue"); }
// The caption of the short messages that name the maker's program only.
inline QString shortCaption() { return QStringLiteral("Tormel"); }
inline constexpr int versionMajor = 1;
inline constexpr int versionMinor = 1;
inline constexpr int versionRevision = 9;
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
}

}  // namespace tormel
