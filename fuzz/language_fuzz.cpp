// Language files from translators and old versions: any bytes, through the
// three readers and the field reader under them, and as a guide.
#include "texts/language_files.h"

#include "base/text_codec.h"

#include "fuzz_support.h"

#include <QFileInfo>

using namespace tormel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    const QString path = fuzz::writeFile(QStringLiteral("Textes_0.txt"), input);
    TextTables tables;
    (void)readTextsFile(path, tables);
    (void)readTipsFile(path, tables);
    MenuCaptions captions = frenchMenuCaptions();
    const MenuReadStatus menu = readMenuFile(path, captions);
    fuzz::require(menu.fieldsRead >= 0 && menu.fieldsRead <= menuCaptionCount, "captions counted");
    const QString help = fuzz::writeFile(QStringLiteral("Help_0.txt"), input);
    fuzz::require(readHelp(QFileInfo(help).absolutePath(), QString(), Language::French).text.has_value(), "any bytes are a guide");

    // Every field takes at least one character, so the reader ends.
    FieldReader reader(fromWindows1252(input));
    qsizetype fields = 0;
    bool number = size > 0 && data[0] % 2 == 0;
    while (!reader.atEnd()) {
        fuzz::require(++fields <= qsizetype(size), "the field reader moves on");
        if (number)
            (void)reader.readNumber();
        else
            fuzz::require(reader.readText().has_value(), "a text before the end");
        number = !number;
    }
    return 0;
}
