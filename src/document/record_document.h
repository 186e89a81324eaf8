#pragma once

#include "base/units.h"
#include "laps/lap_table.h"
#include "laps/rpm_statistics.h"
#include "record/record_decoder.h"
#include "record/record_image.h"
#include "texts/text_tables.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <memory>

namespace tormel {

// What the user chose that shapes the figures of a record.
struct ViewOptions {
    std::array<float, 4> trackLengths{};  // the track's lap and section lengths, metres
    SpeedUnit speedUnit = SpeedUnit::KilometresPerHour;
    TemperatureUnit temperatureUnit = TemperatureUnit::Celsius;
    QString speedUnitCaption = QStringLiteral("km/h");      // caption of the chosen speed unit
    QString temperatureUnitCaption = tormel::temperatureUnitCaption(TemperatureUnit::Celsius);
    int filterLevel = 0;                                    // smoothing of the engine-speed traces
    QChar decimalSeparator = QLatin1Char('.');
};

// Why a record shows nothing past its header.
enum class Refusal {
    None,
    NoLap,          // a lap-timing record without a lap
    TooFewSamples,  // an engine-speed record under 10 samples
};

// The message that tells the user why a record shows nothing (empty when it shows).
QString refusalText(Refusal refusal, const TextTables& tables);
// The same in English, for the command line.
QString englishRefusalText(Refusal refusal);

// Everything read off the record on screen, and the view state that lives
// with it (eliminated laps, sort, charted column). Every front end, the
// window and the command line alike, builds it with analyse, so a
// record is refused in one place.
class RecordDocument {
public:
    RecordDocument();

    // A new record: the image, no lap eliminated, the lap time charted.
    // Nothing is decoded until analyse.
    void open(const RecordImage& image);
    // A downloaded image takes the place of the one on screen; the view
    // state stays.
    void replaceImage(const RecordImage& image) { image_ = image; }

    // Decodes the image and, unless refused, builds the lap table of a
    // lap-timing record or the statistics of an engine-speed one. From the
    // first call on, a record is shown.
    void analyse(const TextTables& tables, const ViewOptions& options);
    // Builds the lap table again (lap-timing records only), keeping the decode.
    void rebuildLapTable(const TextTables& tables, const ViewOptions& options);

    // Header click: sort on the grid column as it stands, first sort line.
    void sortOnColumn(int gridColumn);
    // Eliminates or restores lap `lap` (0..100); false for any other number.
    bool toggleLap(int lap);
    void setChartedColumn(int column) { chartedColumn_ = column; }
    // The lap engine-speed chart g (0..2) shows.
    void setChartedLap(int g, int lap);
    // The stand-ins the charts draw with when a record's statistics are
    // empty: a highest speed of 10000 RPM, a largest class count of 10000
    // for lap L. Each is written once into the statistics, so that it is
    // reported once; true when it was written now.
    bool substituteRpmMax();
    bool substituteHistogramMax(int lap);

    const RecordImage& image() const { return image_; }
    const DecodedRecord& decoded() const { return decoded_; }
    const LapTable& table() const { return table_; }
    const RpmStatistics& rpm() const { return *rpm_; }
    const std::array<bool, LapFlagCount>& eliminatedLaps() const { return eliminatedLaps_; }
    const std::array<int, 3>& chartedLaps() const { return chartedLaps_; }
    const std::array<float, 4>& trackLengths() const { return distances_; }
    int chartedColumn() const { return chartedColumn_; }
    int sortColumn() const { return sortColumn_; }

    // 0 before any record, 1 lap timing, 2 engine speed.
    RecordKind kind() const { return kind_; }
    bool isShown() const { return shown_; }
    Refusal refusal() const { return refusal_; }

private:
    RecordImage image_;
    DecodedRecord decoded_;
    LapTable table_;
    // The statistics hold several hundred kilobytes: kept off the stack.
    std::unique_ptr<RpmStatistics> rpm_;
    std::array<bool, LapFlagCount> eliminatedLaps_{};
    std::array<int, 3> chartedLaps_{1, -1, -2};
    std::array<float, 4> distances_{};
    // The lap time, as after opening a record: a first download charts it too.
    int chartedColumn_ = RawLapTimeColumn;
    int sortColumn_ = LapNumberColumn;
    int sortRow_ = 0;
    RecordKind kind_ = RecordKind::None;
    bool shown_ = false;
    Refusal refusal_ = Refusal::None;
};

// The spreadsheet file of a shown record: the lap table in its order, or
// one line per sample of an engine-speed record.
QByteArray exportRecord(const RecordDocument& document, const TextTables& tables, const QDateTime& now);

}  // namespace tormel
