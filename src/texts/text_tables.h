#pragma once

#include <QLocale>
#include <QString>

#include <array>

namespace tormel {

// In the order of the language files' numbers, French first.
enum class Language { French = 0, Dutch, English, German, Spanish, Italian };

// Every message, heading and tool tip of the program, by index: the index is
// the interface, the text comes from the chosen language.
struct TextTables {
    // 0..70 are the original table; the rest hold the texts of newer features,
    // so files with 71 entries still read and leave the others French.
    static constexpr int TextCount = 300;
    static constexpr int TipsCount = 26;
    std::array<QString, TextCount> texts;
    std::array<QString, TipsCount> tips;
    Language language = Language::French;  // whose plural forms the counts take
};

// The entries of the text table that code uses, by what they say. The
// numbers are the language files' indices: they never change.
enum TextEntry : int {
    smoothingSamplesChanged = 0,  // after the smoothing width, once it was changed
    notImplemented = 1,
    engineWord = 2,               // before an engine's number
    notAvailable = 3,
    bestLapPrefix = 4,            // an engine-speed chart of the quickest lap
    lapPrefix = 5,                // an engine-speed chart of another lap; the export's lap column
    secondsWord = 6,
    maxRpmWord = 7,
    smoothingSamples = 8,         // after the smoothing width
    portMenuPrefix = 9,           // the Communication menu, before the port's number
    downloadAgain = 10,
    communicationError = 11,
    noSerialPort = 12,
    fileExtensionError = 13,
    rpmWord = 14,
    stagesCaption = 19,
    emptyRecord = 20,
    headerLap = 22,
    headerStage = 23,
    headerTime = 24,
    headerSector1Time = 26,
    headerSector2Time = 28,
    headerSector3Time = 30,
    headerMaxRpm = 32,
    headerEngine = 34,
    chartLapTime = 35,
    chartSector1Time = 36,
    chartSector2Time = 37,
    chartSector3Time = 38,
    theoreticalBestRow = 39,
    rangesBestLap = 40,
    engineHoursTitle = 41,
    closeButton = 42,
    trackNameField = 43,          // then place, country, lap length and the three sectors
    sector1Field = 47,
    languageFileMissing = 51,
    accelerationTitle = 52,
    unexpectedError = 53,
    recordNotSaved = 54,
    exportNotWritten = 55,
    commentNotCreated = 56,
    fileNotWritten = 57,
    settingsNotSaved = 58,
    clickToContinue = 59,
    helpFileMissing = 60,
    notALength = 61,
    receivedFileNotWritten = 63,
    downloadCopyNotKept = 64,
    recentRecordGone = 65,
    reportMenu = 66,
    portCauseNoDevice = 67,
    portCauseAccessDenied = 68,
    portCauseOther = 69,
    refusedLineLost = 70,
    refusedQuietLine = 71,
    refusedTooManyBytes = 72,
    refusedLineErrors = 73,
    refusedStopped = 74,
    serialNumberCaption = 75,  // before the logger's serial number
    helpTitle = 76,            // the help window's title
    helpFindLabel = 77,
    helpFindPrevious = 78,
    helpFindNext = 79,
    helpNotFound = 80,         // the find bar when the text is nowhere
    // The library of sessions.
    libraryMenu = 100,
    libraryTitle = 101,
    libraryDate = 102,
    librarySerial = 103,
    libraryTrack = 104,
    libraryKind = 105,
    libraryLaps = 106,
    libraryBestLap = 107,
    libraryTheoretical = 108,
    libraryWindowCount = 109,
    librarySpread = 110,
    libraryMaxRpm = 111,
    libraryMaxTemperature = 112,
    libraryDriver = 113,
    libraryGearing = 114,
    libraryFiles = 115,
    libraryKindLaps = 116,
    libraryKindRpm = 117,
    libraryMissing = 118,
    libraryAllTracks = 119,
    libraryAllSerials = 120,
    libraryFrom = 121,
    libraryTo = 122,
    librarySearch = 123,
    libraryAddFolder = 124,
    libraryRemoveFolder = 125,
    libraryRemoveSession = 126,
    libraryUpdating = 127,
    librarySessionCount = 128,
    libraryFolders = 129,
    libraryOpen = 130,
    // A session's setup sheet and the season's bests.
    setupTitle = 131,
    setupKart = 132,
    setupEngine = 133,
    setupFrontSprocket = 134,
    setupRearSprocket = 135,
    setupMainJet = 136,
    setupNeedle = 137,
    setupTyres = 138,
    setupFrontPressure = 139,
    setupRearPressure = 140,
    setupTrackCondition = 141,
    setupAirTemperature = 142,
    setupRemark = 143,
    setupLikeLast = 144,
    setupSave = 145,
    setupComment = 146,
    setupNotSaved = 147,
    bestsTitle = 148,
    bestsSection = 149,
    // Laps of several sessions side by side.
    compareTitle = 150,
    compareMenu = 151,
    compareBestLap = 152,
    compareChooseLaps = 153,
    compareLapsOf = 154,
    compareReference = 155,
    compareMakeReference = 156,
    compareRemove = 157,
    compareClear = 158,
    compareLapTime = 159,
    compareDifference = 160,
    compareSessionBest = 161,
    compareSectionBars = 162,
    compareWhatChanged = 163,
    compareOtherKind = 164,
    compareTooMany = 165,
    compareTooFew = 166,
    compareShow = 167,
    compareLapItem = 168,
    compareSessionGone = 169,
    // Engine-speed laps overlaid.
    overlayTitle = 170,
    overlayTime = 171,
    overlayFraction = 172,
    overlayAlignTime = 173,
    overlayAlignFraction = 174,
    overlayRpm = 175,
    overlayRpmDifference = 176,
    overlayTimeDifference = 177,
    overlayHistograms = 178,
    overlayMaximum = 179,
    overlayMinimum = 180,
    overlayMean = 181,
    overlayClassWidth = 182,
    overlayLeftMarker = 183,
    overlayRightMarker = 184,
    overlayMarkersOnReference = 185,
    overlayCursor = 186,
    overlaySmoothing = 187,
    overlaySeconds = 188,
    overlayNoTrace = 189,
    // The library kept whole and true.
    libraryTruncated = 190,        // a record file cut short: its bytes, of 2048
    titleTruncated = 191,          // after the window's title
    libraryIndexMoved = 192,       // where the damaged index went
    libraryIndexNotUpdated = 193,  // an index that cannot be written
    libraryIndexLocked = 194,
    setupMistyped = 195,           // a key of the sheet, what it should be
    setupExpectText = 196,
    setupExpectWhole = 197,
    setupExpectEngine = 198,
    setupExpectNumber = 199,
    setupReadOnly = 200,           // the sheet of a session whose file is gone
    libraryRemoveFailed = 201,
    // The window's own state.
    librarySessionOne = 215,   // a count of one session (librarySessionCount for the others)
    comparisonMenu = 216,      // File: the comparison kept, shown again
    libraryRacingLaps = 217,   // the library's columns: the laps counted for consistency
    libraryDeviation = 218,    // and their standard deviation, s
    libraryColumns = 219,      // the header's menu: the columns shown
    setupNotJson = 220,        // a sheet that is no JSON: the reader's reason, the byte
    setupNotObject = 221,      // a sheet that is JSON but no object
    setupUnreadable = 222,     // a sheet that cannot be read: the system's reason
    setupLeftAsIs = 223,       // a file in the sheet's place, why it is none: left as it is
    setupWrittenNowhere = 224,  // beside the record, why; the data folder's file, why
    libraryDateCalendar = 225,  // the date filters' calendar button
    libraryDateExpected = 226,  // a date filter's typed text that is no date: an example
    portTitle = 205,           // the title of the port's messages
    noPortChosen = 206,
    downloadKeptNowhere = 207, // laps of a download kept in no file
    listeningTitle = 208,      // the window's title: program, version, port
    compareUnreadable = 209,   // a record, why it could not be read
    compareNoSuchLap = 210,    // a record, a lap number
    // The comparison's charts: their axes' titles and how to move about them.
    overlayRpmAxis = 245,
    overlayTimeAxis = 246,
    overlayFractionAxis = 247,
    overlayDifferenceAxis = 248,
    histogramSecondsAxis = 249,
    histogramClassAxis = 250,
    sectionDifferenceAxis = 251,
    overlayHelp = 252,         // the overlay's tool tip: wheel, right button, band, reset
    seasonDateAxis = 253,      // the season chart's axes
    seasonTimeAxis = 254,
    seasonBestLine = 255,      // the season's best lap, its time
    seasonSessionTip = 256,    // a session of the chart: date and time, best lap, file
    seasonReportButton = 257,  // the library's button: the season on paper
    seasonNoTrack = 258,       // the report's sessions that name no track
    seasonConsistencyTitle = 259,  // the report's chart of each session's window count and spread
    overlayAlongTrack = 260,        // the overlay along the track: its title, and a way to align
    overlayAlignTrack = 261,
    overlayDistanceAxis = 262,      // along the track, in metres when the length is known
    overlayRevolutionsAxis = 263,   // else in % of the revolutions
    overlayTimeLossAxis = 264,      // the difference panel along the track
    overlaySpeedAxis = 265,         // the road speed, its unit
    overlayShowSpeed = 266,         // the check box that shows it
    sprocketsTitle = 267,           // the lap with other sprockets: the window
    sprocketsLap = 268,
    sprocketsFront = 269,
    sprocketsRear = 270,
    sprocketsTarget = 271,          // the engine
    sprocketsWith = 272,            // front and rear teeth
    sprocketsMaximum = 273,
    sprocketsCorner = 274,
    sprocketsClassesAxis = 275,
    sprocketsSuggested = 276,       // the front teeth
    sprocketsClosest = 277,
    sprocketsFirstOrder = 278,
    sprocketsNoneFitted = 279,
    setupCircumference = 280,       // metres
    setupCircumferenceWrong = 281,  // setupCircumference written out
    sprocketsFitted = 282,          // front and rear teeth
    sprocketsNoLap = 283,
    sprocketsRearColumn = 284,
    sprocketsMenu = 285,            // File and the comparison: the window
    overlayAlignment = 286,         // the alignment chooser
    trackFileNotWritten = 290,  // path, why: the program works without the track file
    trackOffered = 291,         // name, track file beside the record, the user's track file: add it?
};

// The tool tips that code uses.
enum TipEntry : int {
    sortTip = 0,                // a header: sort by it
    sortOrChartTip = 1,         // a header: sort by it, or chart it
    theoreticalBestTip = 2,
    eliminateOrChartTip = 3,    // a lap's cell; before the comma for the lap and stage columns
    rangeClassTip = 4,
    cursorTraceTip = 5,
    cursorHistogramTip = 6,
    startScanTip = 7,
    eliminateBarTip = 8,
    rightMinusLeftTip = 9,
    rightMarkerTip = 10,
    leftMarkerTip = 11,
    cursorValueTip = 12,
    leftToRightTip = 13,
    timeInRangeTip = 14,
    rangesSpeedTip = 15,
    rangesTimeTip = 16,
    rangesLapTip = 17,
};

// Fills texts 0..80 (17 excepted) and tips 0..17 with the
// built-in French texts; other slots are left as they are.
void fillFrenchTexts(TextTables& tables);

// A panel that shows texts of the tables takes them all at once, with the
// tool-tip switch, whenever the language or the switch changes.
class TextsPanel {
public:
    virtual void applyTexts(const TextTables& tables, bool toolTipsOn) = 0;

protected:
    ~TextsPanel() = default;
};

// A table holding only the built-in French texts.
TextTables frenchTextTables();

// "%1 session" or "%1 sessions": `one`'s text where the tables' language
// takes its singular (French for 0 and 1, the others for 1), `other`'s else.
QString countText(const TextTables& tables, TextEntry one, TextEntry other, long long count);

// The language of a stored number, French for a number no language has.
Language languageOfNumber(int number);

// The conventions of the language: its dates, its decimal separator, its
// calendar. The files keep a point and ISO dates whatever it is.
QLocale languageLocale(Language language);
QChar decimalSeparatorOf(Language language);
// Its short date with a four-digit year: "08.12.26" would read as 1926 elsewhere.
QString languageDateFormat(Language language);

// Captions of the six languages, indexed by language.
inline const std::array<QString, 6> languageCaptions{
    QStringLiteral("Français"), QStringLiteral("Nederlands"), QStringLiteral("English"),
    QStringLiteral("Deutch"),   QStringLiteral("Espagnol"),   QStringLiteral("Italiano")};

}  // namespace tormel
