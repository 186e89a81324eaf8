#include "library/setup_sheet.h"

#include "support/temp_folder.h"

#include <QDir>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <tuple>

namespace tormel {
namespace {

using namespace Qt::StringLiterals;

const QByteArray fullFile = R"({"driver": "Ana", "kart": "K2", "engine": 3, "frontSprocket": 11, "rearSprocket": 82,
    "mainJet": 120, "needle": 2.5, "tyres": "Soft", "frontPressure": 0.62, "rearPressure": 0.7,
    "trackCondition": "damp", "airTemperature": -4.5, "remark": "late apex"})";

SetupSheet fullSheet()
{
    return {u"Ana"_s, u"K2"_s, 3, 11, 82, 120, 2.5, u"Soft"_s, 0.62, 0.7, u"damp"_s, -4.5, u"late apex"_s, {}, {}};
}

TEST(SetupSheet, ParsesSheetsAndNamesEachMistypedKey)
{
    using Kind = SetupFieldKind;
    // The bytes and the keys left as they are; an error: the bytes are no sheet.
    using E = SetupSheetError::Kind;
    const struct { QByteArray bytes; std::vector<MistypedField> mistyped; E error; } cases[] = {
        {fullFile, {}, E::None},
        {"{}", {}, E::None},
        {R"({"driver": null, "engine": null, "needle": null, "trackCondition": ""})", {}, E::None},
        {R"({"engine": 5.0, "mainJet": 0, "frontSprocket": 0})", {}, E::None},
        {R"({"engine": "x"})", {{u"engine"_s, Kind::Engine}}, E::None},
        {R"({"engine": 0})", {{u"engine"_s, Kind::Engine}}, E::None},
        {R"({"engine": 6})", {{u"engine"_s, Kind::Engine}}, E::None},
        {R"({"engine": 2.5})", {{u"engine"_s, Kind::Engine}}, E::None},
        {R"({"frontSprocket": -1})", {{u"frontSprocket"_s, Kind::Whole}}, E::None},
        {R"({"frontSprocket": "11", "driver": 7})", {{u"driver"_s, Kind::Text}, {u"frontSprocket"_s, Kind::Whole}}, E::None},
        {R"({"mainJet": 3000000000})", {{u"mainJet"_s, Kind::Whole}}, E::None},
        {R"({"needle": "2"})", {{u"needle"_s, Kind::Number}}, E::None},
        {R"({"frontPressure": true})", {{u"frontPressure"_s, Kind::Number}}, E::None},
        {R"({"remark": ["a"]})", {{u"remark"_s, Kind::Text}}, E::None},
        {R"({"rearPressure": 1e999})", {}, E::NotJson},
        {"[1, 2]", {}, E::NotObject},
        {"", {}, E::NotJson},
        {"{\"driver\": \"Ana\"", {}, E::NotJson},
    };
    for (const auto& [bytes, mistyped, error] : cases) {
        const ParsedSetupSheet parsed = parseSetupSheet(bytes);
        EXPECT_EQ(parsed.sheet.has_value(), error == E::None) << bytes.constData();
        EXPECT_EQ(parsed.error.kind, error) << bytes.constData();
        // The index keeps the reason as it is.
        EXPECT_EQ(SetupSheetError::fromStored(parsed.error.stored()), parsed.error) << bytes.constData();
        EXPECT_EQ(parsed.sheet.value_or(SetupSheet{}).mistyped, mistyped) << bytes.constData();
    }
    EXPECT_EQ(parseSetupSheet(fullFile).sheet, fullSheet());
    EXPECT_TRUE(parseSetupSheet(cases[2].bytes).sheet.value_or(fullSheet()).isEmpty());
    EXPECT_FALSE(parseSetupSheet(R"({"camber": 1})").sheet.value_or(SetupSheet{}).isEmpty());
    EXPECT_EQ(mistypedText({u"frontSprocket"_s, Kind::Whole}), u"\"frontSprocket\" is not a whole number: it is kept as it is"_s);
    // Worded in English for the command line, in the chosen language for the window.
    const SetupSheetError cut = parseSetupSheet("{\"driver\": \"Ana\"").error;
    EXPECT_GT(cut.offset, 10);
    EXPECT_EQ(englishText(cut), u"not JSON: unterminated string at byte %1"_s.arg(cut.offset));
    EXPECT_EQ(setupSheetErrorText(cut, frenchTextTables()), u"pas du JSON : unterminated string à l'octet %1"_s.arg(cut.offset));
    EXPECT_EQ(englishText(parseSetupSheet("[]").error), u"not a JSON object"_s);
    const SetupSheetError unreadable{E::Unreadable, 0, 0, u"Is a directory"_s};
    EXPECT_EQ(SetupSheetError::fromStored(unreadable.stored()), unreadable);
    EXPECT_EQ(setupSheetErrorText(unreadable, frenchTextTables()), u"illisible : Is a directory"_s);
    EXPECT_EQ(SetupSheetError::fromStored(u"json 3"_s).kind, E::Unreadable);  // a reason the program does not know is shown as it is
    EXPECT_FALSE(SetupSheetError::fromStored({}).failed());

    // The other fields show; the mistyped value is written back as it was, unless its field is filled in.
    SetupSheet sheet = parseSetupSheet(R"({"frontSprocket": "11", "rearSprocket": 82, "driver": "Ana"})").sheet.value();
    EXPECT_EQ(std::tuple(sheet.driver, sheet.rearSprocket, sheet.frontSprocket), std::tuple(u"Ana"_s, std::optional(82), std::nullopt));
    EXPECT_EQ(QJsonDocument::fromJson(setupSheetBytes(sheet)).object().value(u"frontSprocket"_s).toString(), u"11"_s);
    sheet.frontSprocket = 12;
    EXPECT_EQ(QJsonDocument::fromJson(setupSheetBytes(sheet)).object().value(u"frontSprocket"_s).toInt(), 12);
}

TEST(SetupSheet, FieldsLeftAsShownKeepTheirValuesWhole)
{
    SetupSheet original = fullSheet();
    original.remark = QString(1'000'000, u'r');
    original.rearSprocket = 250;  // past what a box shows
    original.needle = 2.25;       // more decimals than shown
    SetupSheet shown = original;
    shown.remark = original.remark.left(32767);
    shown.rearSprocket = 199;
    shown.needle = 2.2;
    SetupSheet edited = shown;
    edited.kart = u"K3"_s;
    edited.frontPressure = 0.6;
    SetupSheet expected = original;
    expected.kart = u"K3"_s;
    expected.frontPressure = 0.6;
    EXPECT_EQ(keepUnchangedFields(edited, shown, original), expected);
    edited.rearSprocket = 84;  // changed by the user: taken as typed
    expected.rearSprocket = 84;
    EXPECT_EQ(keepUnchangedFields(edited, shown, original), expected);
}

TEST(SetupSheet, WritesWhatIsFilledInAndKeepsUnknownKeys)
{
    const QByteArray file = R"({"engine": 2, "driver": "", "camber": -1.5, "notes": {"a": [1, null]}, "old": null})";
    const std::optional<SetupSheet> read = parseSetupSheet(file).sheet;
    ASSERT_TRUE(read);
    const QByteArray written = setupSheetBytes(*read);
    EXPECT_EQ(QJsonDocument::fromJson(written).object(),
              QJsonDocument::fromJson(R"({"engine": 2, "camber": -1.5, "notes": {"a": [1, null]}, "old": null})").object());
    EXPECT_EQ(parseSetupSheet(written).sheet, read);
    EXPECT_EQ(parseSetupSheet(setupSheetBytes(fullSheet())).sheet, fullSheet());
}

TEST(SetupSheet, SprocketRatioNeedsBothSprockets)
{
    // front, rear, the ratio (0: none)
    using Teeth = std::optional<int>;
    const std::tuple<Teeth, Teeth, double> cases[] = {{11, 82, 82.0 / 11}, {0, 80, 0}, {{}, 80, 0}, {11, {}, 0}};
    for (const auto& [front, rear, ratio] : cases) {
        SetupSheet s;
        s.frontSprocket = front;
        s.rearSprocket = rear;
        EXPECT_EQ(s.sprocketRatio().value_or(0), ratio) << front.value_or(-1) << " " << rear.value_or(-1);
    }
}

TEST(SetupSheet, LivesBesideTheRecordOrUnderItsIdentity)
{
    const std::pair<QString, QString> cases[] = {
        {u"/k/run.Tml"_s, u"/k/run.setup.json"_s},
        {u"/k/run.TML"_s, u"/k/run.setup.json"_s},
        {u"/k.tml/run.tml"_s, u"/k.tml/run.setup.json"_s},
        {u"/k/run"_s, u"/k/run.setup.json"_s},
    };
    for (const auto& [record, sheet] : cases)
        EXPECT_EQ(setupSheetBesideRecord(record), sheet);
    EXPECT_EQ(setupSheetInDataFolder(u"ab12"_s, u"/d"_s), u"/d/setups/ab12.setup.json"_s);
}

class SetupSheetFiles : public ::testing::Test {
protected:
    SetupSheetFiles()
    {
        QDir().mkpath(folder_.file(u"a"_s));
        QDir().mkpath(folder_.file(u"b"_s));
        // A record whose folder is a file: no one, root included, writes there.
        test::writeBytes(folder_.file(u"afile"_s), "not a folder");
    }
    QString path(const QString& name) const { return folder_.file(name); }
    QString data() const { return folder_.file(u"data"_s); }
    QString kept() const { return setupSheetInDataFolder(identity, data()); }

    const QString identity = u"0f1e"_s;
    test::TempFolder folder_;
};

TEST_F(SetupSheetFiles, SavesBesideTheRecordElseInTheDataFolder)
{
    EXPECT_EQ(saveSetupSheet(fullSheet(), path(u"a/run.Tml"_s), identity, data()).path, path(u"a/run.setup.json"_s));
    EXPECT_FALSE(QFileInfo::exists(data()));  // made only when needed

    const SavedSetupSheet saved = saveSetupSheet(fullSheet(), path(u"afile/run.Tml"_s), identity, data());
    EXPECT_EQ(saved.path, kept()) << englishText(saved).toStdString();
    const FoundSetupSheet found = readSetupSheet({path(u"afile/run.Tml"_s)}, identity, data());
    EXPECT_EQ(std::tuple(found.state, found.path, found.sheet), std::tuple(SetupSheetState::Read, kept(), fullSheet()));
}

TEST_F(SetupSheetFiles, ReadsBesideEachRecordInOrderThenTheDataFolder)
{
    const QStringList records{path(u"a/run.Tml"_s), path(u"b/copy.TML"_s)};
    EXPECT_EQ(readSetupSheet(records, identity, data()).state, SetupSheetState::None);
    // Each sheet names its own file; each save is to a place read before the last.
    const std::pair<QString, QString> places[] = {
        {path(u"afile/run.Tml"_s), kept()},
        {records[1], path(u"b/copy.setup.json"_s)},
        {records[0], path(u"a/run.setup.json"_s)},
    };
    for (const auto& [record, sheetPath] : places) {
        SetupSheet sheet;
        sheet.driver = sheetPath;
        ASSERT_EQ(saveSetupSheet(sheet, record, identity, data()).path, sheetPath);
        const FoundSetupSheet found = readSetupSheet(records, identity, data());
        EXPECT_EQ(std::tuple(found.state, found.path, found.sheet.driver), std::tuple(SetupSheetState::Read, sheetPath, sheetPath));
    }
    // A sheet in the data folder newer than the one beside the record was saved when that folder refused it.
    QFile kept(this->kept());
    ASSERT_TRUE(kept.open(QIODevice::ReadWrite) && kept.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    kept.close();
    EXPECT_EQ(readSetupSheet(records, identity, data()).path, this->kept());
}

TEST_F(SetupSheetFiles, LeavesAFileThatIsNoSheetAlone)
{
    const QByteArray broken = R"({"engine": "x", "driver": "Ana")";
    // The record, and the file in the way of its save.
    const std::pair<QString, QString> cases[] = {
        {path(u"a/run.Tml"_s), path(u"a/run.setup.json"_s)},
        {path(u"afile/run.Tml"_s), kept()},
    };
    for (const auto& [record, sheetPath] : cases) {
        QDir().mkpath(QFileInfo(sheetPath).path());
        test::writeBytes(sheetPath, broken);
        const FoundSetupSheet found = readSetupSheet({record}, identity, data());
        EXPECT_EQ(std::tuple(found.state, found.path), std::tuple(SetupSheetState::Broken, sheetPath));
        EXPECT_EQ(found.error.kind, SetupSheetError::Kind::NotJson);
        const SavedSetupSheet saved = saveSetupSheet(fullSheet(), record, identity, data());
        EXPECT_TRUE(saved.path.isEmpty());
        EXPECT_EQ(std::tuple(saved.brokenPath, saved.broken), std::tuple(sheetPath, found.error));
        EXPECT_EQ(englishText(saved), u"%1 holds no setup sheet (%2): it is left as it is"_s.arg(QDir::toNativeSeparators(sheetPath), englishText(found.error)));
        EXPECT_EQ(test::readBytes(sheetPath), broken);
    }
}

}  // namespace
}  // namespace tormel
