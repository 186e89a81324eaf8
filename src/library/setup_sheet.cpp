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

struct TextField {
    QLatin1StringView key;
    QString SetupSheet::*member;
};

struct WholeField {
    QLatin1StringView key;
    std::optional<int> SetupSheet::*member;
    int lowest;
    int highest;
    SetupFieldKind kind;
};

struct NumberField {
    QLatin1StringView key;
    std::optional<double> SetupSheet::*member;
};

using namespace Qt::StringLiterals;

constexpr int most = std::numeric_limits<int>::max();

const std::array<TextField, 5> textFields{{
    {"driver"_L1, &SetupSheet::driver},
    {"kart"_L1, &SetupSheet::kart},
    {"tyres"_L1, &SetupSheet::tyres},
    {"trackCondition"_L1, &SetupSheet::trackCondition},
    {"remark"_L1, &SetupSheet::remark},
}};

const std::array<WholeField, 4> wholeFields{{
    {"engine"_L1, &SetupSheet::engine, 1, 5, SetupFieldKind::Engine},
    {"frontSprocket"_L1, &SetupSheet::frontSprocket, 0, most, SetupFieldKind::Whole},
    {"rearSprocket"_L1, &SetupSheet::rearSprocket, 0, most, SetupFieldKind::Whole},
    {"mainJet"_L1, &SetupSheet::mainJet, 0, most, SetupFieldKind::Whole},
}};

const std::array<NumberField, 4> numberFields{{
    {"needle"_L1, &SetupSheet::needle},
    {"frontPressure"_L1, &SetupSheet::frontPressure},
    {"rearPressure"_L1, &SetupSheet::rearPressure},
    {"airTemperature"_L1, &SetupSheet::airTemperature},
}};

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
    for (const TextField& f : textFields)
        sheet.*f.member = take(f.key, SetupFieldKind::Text, [](const QJsonValue& v) { return v.isString(); }).toString();
    for (const WholeField& f : wholeFields) {
        const QJsonValue v = take(f.key, f.kind, [&](const QJsonValue& v) { return wholeNumber(v, f.lowest, f.highest).has_value(); });
        if (filledIn(v))
            sheet.*f.member = wholeNumber(v, f.lowest, f.highest);
    }
    for (const NumberField& f : numberFields) {
        const QJsonValue v = take(f.key, SetupFieldKind::Number,
                                  [](const QJsonValue& v) { return v.isDouble() && std::isfinite(v.toDouble()); });
        if (filledIn(v))
            sheet.*f.member = v.toDouble();
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
        found.error = file.errorString();
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

std::optional<QString> brokenAt(const QString& path)
{
    const FoundSetupSheet there = readAt(path);
    if (there.state != SetupSheetState::Broken)
        return std::nullopt;
    return u"%1 holds no setup sheet (%2): it is left as it is"_s.arg(QDir::toNativeSeparators(path), there.error);
}

}  // namespace

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
        return {std::nullopt, u"not JSON: %1 at byte %2"_s.arg(error.errorString()).arg(error.offset)};
    if (!document.isObject())
        return {std::nullopt, u"not a JSON object"_s};
    SetupSheet sheet;
    sheet.otherKeys = document.object();
    return {takeKnownKeys(std::move(sheet)), {}};
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
    for (const TextField& f : textFields)
        keep(f.member);
    for (const WholeField& f : wholeFields)
        keep(f.member);
    for (const NumberField& f : numberFields)
        keep(f.member);
    return edited;
}

QByteArray setupSheetBytes(const SetupSheet& sheet)
{
    // A field filled in wins over a mistyped value kept under its key.
    QJsonObject file = sheet.otherKeys;
    for (const TextField& f : textFields)
        if (!(sheet.*f.member).isEmpty())
            file.insert(f.key, sheet.*f.member);
    for (const WholeField& f : wholeFields)
        if (sheet.*f.member)
            file.insert(f.key, *(sheet.*f.member));
    for (const NumberField& f : numberFields)
        if (sheet.*f.member)
            file.insert(f.key, *(sheet.*f.member));
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
        return {{}, *broken};
    QString besideError;
    // A folder that cannot be written refuses QSaveFile's temporary file.
    if (saveWholeFile(beside, bytes, &besideError))
        return {beside, {}};

    const QString kept = setupSheetInDataFolder(identity, dataFolder);
    if (auto broken = brokenAt(kept))
        return {{}, *broken};
    QString keptError;
    if (!QDir().mkpath(QFileInfo(kept).path()))
        keptError = u"cannot create its folder"_s;
    else if (saveWholeFile(kept, bytes, &keptError))
        return {kept, {}};
    return {{}, u"the setup sheet could be written neither beside the record (%1: %2) nor in %3 (%4)"_s.arg(
                    QDir::toNativeSeparators(beside), besideError, QDir::toNativeSeparators(kept), keptError)};
}

}  // namespace tormel
