#include "base/text_codec.h"

#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace tormel {

namespace {
constexpr auto codePage = "windows-1252";
constexpr char substitute = '\x1a';  // what the converter writes for an unmappable character
}  // namespace

QString fromWindows1252(const QByteArray& bytes)
{
    QStringDecoder decoder(codePage);
    return decoder.decode(bytes);
}

QByteArray toWindows1252(const QString& text)
{
    QStringEncoder encoder(codePage);
    QByteArray bytes = encoder.encode(text);
    // The converter marks unmappable characters with SUB, which old editors
    // take for an end of file; a question mark is harmless.
    if (encoder.hasError())
        bytes.replace(substitute, '?');
    return bytes;
}

QByteArray windowsLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toWindows1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}

}  // namespace tormel
