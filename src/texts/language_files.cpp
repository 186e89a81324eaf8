#include "texts/language_files.h"

#include "base/text_codec.h"
#include "texts/shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace tormel {

MenuCaptions frenchMenuCaptions()
{
    return {
        QStringLiteral("Fichiers"), QStringLiteral("Sauver"), QStringLiteral("Lecture Chrono"),
        QStringLiteral("Ouvrir Fichier Existant"), QStringLiteral("Supprimer"), QStringLiteral("Exporter Données"),
        QStringLiteral("Image de fond"), QStringLiteral("Quitter"), QStringLiteral("Langue"),
        languageCaptions[0], languageCaptions[1], languageCaptions[2],
        languageCaptions[3], languageCaptions[4], languageCaptions[5],
        QStringLiteral("Unités"), QStringLiteral("km/h"), QStringLiteral("miles/h"),
        QStringLiteral("Communication"), QStringLiteral("Com1"), QStringLiteral("Com2"),
        QStringLiteral("Com3"), QStringLiteral("Com4"), QStringLiteral("Pistes"),
        QStringLiteral("Selection"), QStringLiteral("Affichage Chrono"), QStringLiteral("Courbe RPM's"),
        QStringLiteral("Table Chronos"), QStringLiteral("Temps Moteurs"), QStringLiteral("Filtres"),
        QStringLiteral("Pas de Filtre"), QStringLiteral("Filtre 1"), QStringLiteral("Filtre 2"),
        QStringLiteral("Filtre 3"), QStringLiteral("Commentaire"), QStringLiteral("Aide"),
    };
}

void installQtTexts(QTranslator& translator, Language language)
{
    // Qt ships no English catalogue: English is its own language.
    QCoreApplication::removeTranslator(&translator);
    if (translator.load(languageLocale(language), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isDelimiter(QChar c)
{
    return c == QLatin1Char(',') || isLineEnd(c);
}

std::optional<QByteArray> readBoundedBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(maxLanguageFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxLanguageFileBytes)
        return std::nullopt;
    return bytes;
}

std::optional<QString> readBoundedText(const QString& path)
{
    const std::optional<QByteArray> bytes = readBoundedBytes(path);
    if (!bytes)
        return std::nullopt;
    return fromWindows1252(*bytes);
}

// Reads index-and-text pairs until the end; `store` says whether an index is
// a failure (false) and otherwise stores or skips the text.
template <typename Store>
bool readPairs(const QString& path, Store store)
{
    const std::optional<QString> text = readBoundedText(path);
    if (!text)
        return false;
    FieldReader reader(*text);
    while (!reader.atEnd()) {
        const std::optional<std::int16_t> index = reader.readNumber();
        if (!index)
            return false;
        const std::optional<QString> value = reader.readText();
        if (!value)
            return false;
        if (!store(*index, *value))
            return false;
    }
    return true;
}

// A quoted text ends at the next double quote, and a line end would split
// it: neither can be kept.
QString writable(QString text)
{
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

template <std::size_t N>
QByteArray pairFileBytes(const std::array<QString, N>& table)
{
    QStringList lines;
    for (std::size_t i = 0; i < N; ++i)
        lines << QStringLiteral("%1,\"%2\"").arg(i).arg(writable(table[i]));
    return windowsLines(lines);
}

bool saveLanguageFile(const QString& folder, const QString& prefix, Language language, const QByteArray& bytes,
                      QString* errorText)
{
    return saveWholeFile(languageFilePath(folder, prefix, language), bytes, errorText);
}

}  // namespace

FieldReader::FieldReader(QString text)
    : text_(std::move(text))
{
}

bool FieldReader::atEnd() const
{
    for (qsizetype p = pos_; p < text_.size(); ++p) {
        if (!isBlank(text_.at(p)) && !isLineEnd(text_.at(p)))
            return false;
    }
    return true;
}

void FieldReader::skipBlanks()
{
    while (pos_ < text_.size() && isBlank(text_.at(pos_)))
        ++pos_;
}

void FieldReader::skipDelimiter()
{
    if (pos_ >= text_.size())
        return;
    const QChar c = text_.at(pos_++);
    if (c == QLatin1Char('\r') && pos_ < text_.size() && text_.at(pos_) == QLatin1Char('\n'))
        ++pos_;
}

std::optional<QString> FieldReader::readText()
{
    skipBlanks();
    if (pos_ >= text_.size())
        return std::nullopt;
    if (text_.at(pos_) == QLatin1Char('"')) {
        const qsizetype lineEnd = std::find_if(text_.cbegin() + pos_ + 1, text_.cend(), isLineEnd) - text_.cbegin();
        const qsizetype close = text_.indexOf(QLatin1Char('"'), pos_ + 1);
        if (close < 0 || close > lineEnd) {
            // A quote left open ends with its line, so that it spoils one
            // entry and not the ones after it.
            QString field = text_.mid(pos_ + 1, lineEnd - pos_ - 1);
            pos_ = lineEnd;
            skipDelimiter();
            return field;
        }
        QString field = text_.mid(pos_ + 1, close - pos_ - 1);
        // Whatever follows the closing quote up to the delimiter is not part of the field.
        pos_ = close + 1;
        while (pos_ < text_.size() && !isDelimiter(text_.at(pos_)))
            ++pos_;
        skipDelimiter();
        return field;
    }
    const qsizetype start = pos_;
    while (pos_ < text_.size() && !isDelimiter(text_.at(pos_)))
        ++pos_;
    QString field = text_.mid(start, pos_ - start);
    skipDelimiter();
    return field;
}

std::optional<std::int16_t> FieldReader::readNumber()
{
    // A number never starts on an empty line: blank lines before it are passed.
    while (pos_ < text_.size() && (isBlank(text_.at(pos_)) || isLineEnd(text_.at(pos_))))
        ++pos_;
    const std::optional<QString> field = readText();
    if (!field)
        return std::nullopt;
    bool ok = false;
    const int value = field->trimmed().toInt(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

QString languageFilePath(const QString& folder, const QString& prefix, Language language)
{
    return QDir(folder).filePath(prefix + QString::number(int(language)) + QStringLiteral(".txt"));
}

namespace {

// Whether an entry of a file replaces the text beneath it. A user's file
// read over the shipped one was written whole by the translation tools: an
// entry left empty, or holding a text some version shipped for it, was never
// edited, and the installed text shows through.
class EntryFilter {
public:
    EntryFilter(const QString& path, bool overShipped)
        : fileName_(QFileInfo(path).fileName())
        , overShipped_(overShipped)
    {
    }
    bool operator()(int entry, const QString& text) const
    {
        return !overShipped_ || !(text.isEmpty() || isShippedText(fileName_, entry, text));
    }

private:
    QString fileName_;
    bool overShipped_;
};

bool isCopyOfShippedVersion(const QString& path)
{
    const std::optional<QByteArray> bytes = readBoundedBytes(path);
    return bytes && isShippedVersion(QFileInfo(path).fileName(), *bytes);
}

bool hasShippedFolder(const QString& folder, const QString& shippedFolder)
{
    return !shippedFolder.isEmpty() && QDir::cleanPath(shippedFolder) != QDir::cleanPath(folder)
        && QFileInfo(shippedFolder).isDir();
}

// Reads every layer with `read(path, over)`, `over` telling a layer read
// over another; false when there is none or one fails.
template <typename Read>
bool readLayers(const QStringList& layers, Read read, QString* failedFile = nullptr)
{
    bool ok = !layers.isEmpty();
    for (const QString& path : layers) {
        if (!read(path, path != layers.first())) {
            ok = false;
            if (failedFile)
                *failedFile = path;
        }
    }
    return ok;
}

}  // namespace

QStringList languageFileLayers(const QString& folder, const QString& shippedFolder, const QString& prefix, Language language)
{
    QStringList layers;
    const bool shipped = hasShippedFolder(folder, shippedFolder)
        && QFileInfo::exists(languageFilePath(shippedFolder, prefix, language));
    if (shipped)
        layers << languageFilePath(shippedFolder, prefix, language);
    const QString own = languageFilePath(folder, prefix, language);
    if (QFileInfo::exists(own) && !(shipped && isCopyOfShippedVersion(own)))
        layers << own;
    return layers;
}

QString missingLanguageFile(const QString& folder, const QString& shippedFolder, const QString& prefix, Language language)
{
    return languageFilePath(hasShippedFolder(folder, shippedFolder) ? shippedFolder : folder, prefix, language);
}

bool readTextsFile(const QString& path, TextTables& tables, bool overShipped)
{
    const EntryFilter replaces{path, overShipped};
    return readPairs(path, [&tables, &replaces](std::int16_t index, const QString& text) {
        if (index < 0)
            return false;
        if (index < TextTables::TextCount && replaces(index, text))
            tables.texts[std::size_t(index)] = text;
        return true;
    });
}

bool readTipsFile(const QString& path, TextTables& tables, bool overShipped)
{
    const EntryFilter replaces{path, overShipped};
    return readPairs(path, [&tables, &replaces](std::int16_t index, const QString& text) {
        if (index < 0 || index >= TextTables::TipsCount)
            return false;
        if (replaces(index, text))
            tables.tips[std::size_t(index)] = text;
        return true;
    });
}

TextReadStatus readTexts(const QString& folder, Language language, TextTables& tables, const QString& shippedFolder)
{
    TextReadStatus status;
    tables.language = language;
    status.textsRead = readLayers(languageFileLayers(folder, shippedFolder, QStringLiteral("Textes_"), language),
                                   [&tables](const QString& path, bool over) { return readTextsFile(path, tables, over); });
    if (status.textsRead)
        status.tipsRead = readLayers(languageFileLayers(folder, shippedFolder, QStringLiteral("Tips_"), language),
                                     [&tables](const QString& path, bool over) { return readTipsFile(path, tables, over); });
    return status;
}

MenuReadStatus readMenuFile(const QString& path, MenuCaptions& captions, bool overShipped)
{
    MenuReadStatus status;
    const std::optional<QString> text = readBoundedText(path);
    if (!text) {
        status.failed = true;
        return status;
    }
    const EntryFilter replaces{path, overShipped};
    FieldReader reader(*text);
    for (QString& caption : captions) {
        const std::optional<QString> field = reader.readText();
        if (!field) {
            status.failed = true;
            return status;
        }
        if (replaces(status.fieldsRead, *field))
            caption = *field;
        ++status.fieldsRead;
    }
    return status;
}

MenuReadStatus readMenus(const QString& folder, Language language, MenuCaptions& captions, const QString& shippedFolder)
{
    MenuReadStatus status;
    const QString prefix = QStringLiteral("Menu_");
    const QStringList layers = languageFileLayers(folder, shippedFolder, prefix, language);
    if (layers.isEmpty())
        status.failedFile = missingLanguageFile(folder, shippedFolder, prefix, language);
    status.failed = !readLayers(layers, [&](const QString& path, bool over) {
        const MenuReadStatus layer = readMenuFile(path, captions, over);
        status.fieldsRead = std::max(status.fieldsRead, layer.fieldsRead);
        return !layer.failed;
    }, &status.failedFile);
    return status;
}

HelpText readHelp(const QString& folder, const QString& shippedFolder, Language language)
{
    const QString prefix = QStringLiteral("Help_");
    const QStringList layers = languageFileLayers(folder, shippedFolder, prefix, language);
    if (layers.isEmpty())
        return {missingLanguageFile(folder, shippedFolder, prefix, language), std::nullopt};
    // A help text is read whole: the user's when it can be read, else the shipped one.
    HelpText help{layers.last(), std::nullopt};
    for (auto layer = layers.crbegin(); layer != layers.crend() && !help.text; ++layer) {
        if (const std::optional<QByteArray> bytes = readBoundedBytes(*layer)) {
            QStringDecoder utf8(QStringDecoder::Utf8);
            QString text = utf8(*bytes);
            help = {*layer, utf8.hasError() ? fromWindows1252(*bytes) : text};
        }
    }
    return help;
}

QByteArray textsFileBytes(const TextTables& tables)
{
    return pairFileBytes(tables.texts);
}

QByteArray tipsFileBytes(const TextTables& tables)
{
    return pairFileBytes(tables.tips);
}

QByteArray menuFileBytes(const MenuCaptions& captions)
{
    QStringList lines;
    for (const QString& caption : captions) {
        const QString text = writable(caption);
        const bool quoted = text.contains(QLatin1Char(',')) || (!text.isEmpty() && isBlank(text.at(0)));
        lines << (quoted ? QLatin1Char('"') + text + QLatin1Char('"') : text);
    }
    return windowsLines(lines);
}

bool saveTexts(const QString& folder, Language language, const TextTables& tables, QString* errorText)
{
    return saveLanguageFile(folder, QStringLiteral("Textes_"), language, textsFileBytes(tables), errorText);
}

bool saveTips(const QString& folder, Language language, const TextTables& tables, QString* errorText)
{
    return saveLanguageFile(folder, QStringLiteral("Tips_"), language, tipsFileBytes(tables), errorText);
}

bool saveMenus(const QString& folder, Language language, const MenuCaptions& captions, QString* errorText)
{
    return saveLanguageFile(folder, QStringLiteral("Menu_"), language, menuFileBytes(captions), errorText);
}

}  // namespace tormel
