#include "library/setup_sheet.h"

#include "base/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

#include <array>
#include <cmath>
#include <limits>

namespace tormel {

namespace {

using namespace Qt::StringLiterals;

constexpr int most = std::numeric_limits<int>::max();

// The range of a whole field's values.
std::pair<int, int> rangeOf(const SetupField& f)
{
    return f.kind == SetupFieldKind::Engine ? std::pair(1, 5) : std::pair(0, most);
}

bool filledIn(const QJsonValue& v)
{
    return !v.isUndefined() && !v.isNull();
}

std::optional<int> wholeNumber(const QJsonValue& v, int lowest, int highest)
{
    const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!(d >= lowest && d <= highest) || d != std::trunc(d))
        return std::nullopt;
    return int(d);
}

// Takes the known keys off `sheet.otherKeys`, which starts as the whole
// file; a value of the wrong kind stays there, named in `mistyped`.
SetupSheet takeKnownKeys(SetupSheet sheet)
{
    const auto take = [&](QLatin1StringView key, SetupFieldKind kind, const auto& fits) {
        const QJsonValue v = sheet.otherKeys.value(key);
        if (filledIn(v) && !fits(v)) {
            sheet.mistyped.push_back({key, kind});
            return QJsonValue();
        }
        sheet.otherKeys.remove(key);
        return v;
    };
    for (const SetupField& f : setupFields()) {
        if (f.text) {
            sheet.*f.text = take(f.key, f.kind, [](const QJsonValue& v) { return v.isString(); }).toString();
        } else if (f.whole) {
            const std::pair<int, int> range = rangeOf(f);
            const QJsonValue v =
                take(f.key, f.kind, [&](const QJsonValue& v) { return wholeNumber(v, range.first, range.second).has_value(); });
            if (filledIn(v))
                sheet.*f.whole = wholeNumber(v, range.first, range.second);
        } else {
            const QJsonValue v = take(f.key, f.kind, [](const QJsonValue& v) { return v.isDouble() && std::isfinite(v.toDouble()); });
            if (filledIn(v))
                sheet.*f.number = v.toDouble();
        }
    }
    return sheet;
}

// What `path` holds: nothing, a sheet, or something that must not be written over.
FoundSetupSheet readAt(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    FoundSetupSheet found{SetupSheetState::Broken, {}, path, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {  // a folder too
        found.error = {SetupSheetError::Kind::Unreadable, 0, 0, file.errorString()};
    } else {
        ParsedSetupSheet parsed = parseSetupSheet(file.readAll());
        found.error = parsed.error;
        if (parsed.sheet) {
            found.state = SetupSheetState::Read;
            found.sheet = std::move(*parsed.sheet);
        }
    }
    return found;
}

std::optional<SavedSetupSheet> brokenAt(const QString& path)
{
    const FoundSetupSheet there = readAt(path);
    if (there.state != SetupSheetState::Broken)
        return std::nullopt;
    SavedSetupSheet saved;
    saved.brokenPath = path;
    saved.broken = there.error;
    return saved;
}

SavedSetupSheet wentTo(const QString& path)
{
    SavedSetupSheet saved;
    saved.path = path;
    return saved;
}

QString jsonErrorText(const SetupSheetError& error)
{
    QJsonParseError parse{};
    parse.error = QJsonParseError::ParseError(error.parseError);
    return parse.errorString();
}

}  // namespace

const std::array<SetupField, SetupFieldCount>& setupFields()
{
    using K = SetupFieldKind;
    using S = SetupSheet;
    static const std::array<SetupField, SetupFieldCount> fields{{
        {"driver"_L1, K::Text, libraryDriver, &S::driver},
        {"kart"_L1, K::Text, setupKart, &S::kart},
        {"engine"_L1, K::Engine, setupEngine, nullptr, &S::engine},
        {"frontSprocket"_L1, K::Whole, setupFrontSprocket, nullptr, &S::frontSprocket},
        {"rearSprocket"_L1, K::Whole, setupRearSprocket, nullptr, &S::rearSprocket},
        {"mainJet"_L1, K::Whole, setupMainJet, nullptr, &S::mainJet},
        {"needle"_L1, K::Number, setupNeedle, nullptr, nullptr, &S::needle},
        {"tyres"_L1, K::Text, setupTyres, &S::tyres},
        {"frontPressure"_L1, K::Number, setupFrontPressure, nullptr, nullptr, &S::frontPressure},
        {"rearPressure"_L1, K::Number, setupRearPressure, nullptr, nullptr, &S::rearPressure},
        {"trackCondition"_L1, K::Text, setupTrackCondition, &S::trackCondition},
        {"airTemperature"_L1, K::Number, setupAirTemperature, nullptr, nullptr, &S::airTemperature, true},
        {"remark"_L1, K::Text, setupRemark, &S::remark},
    }};
    return fields;
}

SetupValue setupValue(const SetupSheet& sheet, const SetupField& field)
{
    if (field.text)
        return (sheet.*field.text).isEmpty() ? SetupValue() : SetupValue(sheet.*field.text);
    if (field.whole)
        return sheet.*field.whole ? SetupValue(double(*(sheet.*field.whole))) : SetupValue();
    return sheet.*field.number ? SetupValue(*(sheet.*field.number)) : SetupValue();
}

bool SetupSheet::isEmpty() const
{
    return *this == SetupSheet{};
}

std::optional<double> SetupSheet::sprocketRatio() const
{
    if (!frontSprocket || !rearSprocket || *frontSprocket == 0)
        return std::nullopt;
    return double(*rearSprocket) / *frontSprocket;
}

ParsedSetupSheet parseSetupSheet(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return {std::nullopt, {SetupSheetError::Kind::NotJson, int(error.error), error.offset, {}}};
    if (!document.isObject())
        return {std::nullopt, {SetupSheetError::Kind::NotObject, 0, 0, {}}};
    SetupSheet sheet;
    sheet.otherKeys = document.object();
    return {takeKnownKeys(std::move(sheet)), {}};
}

QString SetupSheetError::stored() const
{
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::Unreadable:
        return u"unreadable "_s + detail;
    case Kind::NotJson:
        return u"json %1 %2"_s.arg(parseError).arg(offset);
    case Kind::NotObject:
        return u"object"_s;
    }
    return {};
}

SetupSheetError SetupSheetError::fromStored(const QString& text)
{
    SetupSheetError error;
    if (text.isEmpty())
        return error;
    const QStringList words = text.split(u' ');
    if (words[0] == "json"_L1 && words.size() == 3) {
        error.kind = Kind::NotJson;
        error.parseError = words[1].toInt();
        error.offset = words[2].toLongLong();
    } else if (text == "object"_L1) {
        error.kind = Kind::NotObject;
    } else {
        // Anything else, an older index's wording too, is a reason to show as it is.
        error.kind = Kind::Unreadable;
        error.detail = text.startsWith("unreadable "_L1) ? text.mid(11) : text;
    }
    return error;
}

QString englishText(const SetupSheetError& error)
{
    switch (error.kind) {
    case SetupSheetError::Kind::None:
        return {};
    case SetupSheetError::Kind::Unreadable:
        return u"cannot be read: %1"_s.arg(error.detail);
    case SetupSheetError::Kind::NotJson:
        return u"not JSON: %1 at byte %2"_s.arg(jsonErrorText(error)).arg(error.offset);
    case SetupSheetError::Kind::NotObject:
        return u"not a JSON object"_s;
    }
    return {};
}

QString setupSheetErrorText(const SetupSheetError& error, const TextTables& tables)
{
    switch (error.kind) {
    case SetupSheetError::Kind::None:
        return {};
    case SetupSheetError::Kind::Unreadable:
        return tables.texts[setupUnreadable].arg(error.detail);
    case SetupSheetError::Kind::NotJson:
        return tables.texts[setupNotJson].arg(jsonErrorText(error)).arg(error.offset);
    case SetupSheetError::Kind::NotObject:
        return tables.texts[setupNotObject];
    }
    return {};
}

QString englishText(const SavedSetupSheet& saved)
{
    if (!saved.brokenPath.isEmpty())
        return u"%1 holds no setup sheet (%2): it is left as it is"_s.arg(QDir::toNativeSeparators(saved.brokenPath),
                                                                          englishText(saved.broken));
    return u"the setup sheet could be written neither beside the record (%1: %2) nor in %3 (%4)"_s.arg(
        QDir::toNativeSeparators(saved.besidePath), saved.besideError, QDir::toNativeSeparators(saved.keptPath),
        saved.keptError);
}

QString setupNotSavedText(const SavedSetupSheet& saved, const TextTables& tables)
{
    if (!saved.brokenPath.isEmpty())
        return tables.texts[setupLeftAsIs].arg(QDir::toNativeSeparators(saved.brokenPath),
                                               setupSheetErrorText(saved.broken, tables));
    return tables.texts[setupWrittenNowhere].arg(QDir::toNativeSeparators(saved.besidePath), saved.besideError,
                                                 QDir::toNativeSeparators(saved.keptPath), saved.keptError);
}

QString mistypedText(const MistypedField& field)
{
    const char* expected[] = {"a text", "a whole number", "an engine from 1 to 5", "a number"};
    return u"\"%1\" is not %2: it is kept as it is"_s.arg(field.key, QLatin1StringView(expected[int(field.expected)]));
}

SetupSheet keepUnchangedFields(SetupSheet edited, const SetupSheet& shown, const SetupSheet& original)
{
    const auto keep = [&](auto member) {
        if (edited.*member == shown.*member)
            edited.*member = original.*member;
    };
    for (const SetupField& f : setupFields()) {
        if (f.text)
            keep(f.text);
        else if (f.whole)
            keep(f.whole);
        else
            keep(f.number);
    }
    return edited;
}

QByteArray setupSheetBytes(const SetupSheet& sheet)
{
    // A field filled in wins over a mistyped value kept under its key.
    QJsonObject file = sheet.otherKeys;
    for (const SetupField& f : setupFields()) {
        if (f.text && !(sheet.*f.text).isEmpty())
            file.insert(f.key, sheet.*f.text);
        else if (f.whole && sheet.*f.whole)
            file.insert(f.key, *(sheet.*f.whole));
        else if (f.number && sheet.*f.number)
            file.insert(f.key, *(sheet.*f.number));
    }
    return QJsonDocument(file).toJson(QJsonDocument::Indented);
}

QString setupSheetBesideRecord(const QString& recordPath)
{
    const bool record = recordPath.endsWith(".tml"_L1, Qt::CaseInsensitive);
    return (record ? recordPath.chopped(4) : recordPath) + ".setup.json"_L1;
}

QString setupSheetInDataFolder(const QString& identity, const QString& dataFolder)
{
    return QDir(dataFolder).filePath("setups/"_L1 + identity + ".setup.json"_L1);
}

FoundSetupSheet readSetupSheetAt(const QString& path)
{
    return readAt(path);
}

QString setupSheetPath(const QStringList& recordPaths, const QString& identity, const QString& dataFolder)
{
    return setupSheetPath(recordPaths, identity, dataFolder, [](const QString& path) { return QFileInfo::exists(path); });
}

QString setupSheetPath(const QStringList& recordPaths, const QString& identity, const QString& dataFolder,
                       const std::function<bool(const QString&)>& exists)
{
    QString beside;
    for (const QString& record : recordPaths) {
        if (exists(setupSheetBesideRecord(record))) {
            beside = setupSheetBesideRecord(record);
            break;
        }
    }
    // A save falls back on the data folder when the record's folder became
    // read-only: that newer sheet wins over the one left beside the record.
    const QString kept = setupSheetInDataFolder(identity, dataFolder);
    if (!exists(kept))
        return beside;
    if (beside.isEmpty() || QFileInfo(kept).lastModified() > QFileInfo(beside).lastModified())
        return kept;
    return beside;
}

FoundSetupSheet readSetupSheet(const QStringList& recordPaths, const QString& identity, const QString& dataFolder)
{
    const QString path = setupSheetPath(recordPaths, identity, dataFolder);
    return path.isEmpty() ? FoundSetupSheet{} : readAt(path);
}

SavedSetupSheet saveSetupSheet(const SetupSheet& sheet, const QString& recordPath, const QString& identity,
                               const QString& dataFolder)
{
    const QByteArray bytes = setupSheetBytes(sheet);
    const QString beside = setupSheetBesideRecord(recordPath);
    if (auto broken = brokenAt(beside))
        return *broken;
    SavedSetupSheet saved;
    saved.besidePath = beside;
    // A folder that cannot be written refuses QSaveFile's temporary file.
    if (saveWholeFile(beside, bytes, &saved.besideError))
        return wentTo(beside);

    const QString kept = setupSheetInDataFolder(identity, dataFolder);
    if (auto broken = brokenAt(kept))
        return *broken;
    saved.keptPath = kept;
    // A folder that cannot be made leaves the save to say why the file cannot be written there.
    QDir().mkpath(QFileInfo(kept).path());
    if (saveWholeFile(kept, bytes, &saved.keptError))
        return wentTo(kept);
    return saved;
}

}  // namespace tormel
