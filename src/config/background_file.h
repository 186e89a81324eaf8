#pragma once

#include <QString>

namespace tormel {

// The background picture chosen by the user, remembered as one line in
// "Picture.txt" in the program folder.
inline const QString backgroundFileName = QStringLiteral("Picture.txt");

// The stored picture path, or an empty text when there is none: a missing
// file, or one of 5 bytes or less (an empty line).
QString readBackgroundPath(const QString& programFolder);

// Stores `picturePath` as the only line of the file, replacing it whole.
bool saveBackgroundPath(const QString& programFolder, const QString& picturePath, QString* errorText = nullptr);

}  // namespace tormel
