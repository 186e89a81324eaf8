#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tormel {

// Language, help and log files are 8-bit Windows-1252 text with CR LF line
// ends, so that files made by older copies of the program still read.

// Every byte decodes to one character; nothing is ever refused.
QString fromWindows1252(const QByteArray& bytes);

// A character the code page cannot hold becomes "?".
QByteArray toWindows1252(const QString& text);

// Each line encoded and followed by CR LF.
QByteArray windowsLines(const QStringList& lines);

// Replaces `path` with `bytes` as a whole: a failed write leaves the old file
// as it was. On failure `errorText` says why.
bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* errorText = nullptr);

}  // namespace tormel
