#pragma once

#include "base/units.h"
#include "record/record_decoder.h"
#include "record/record_image.h"
#include "texts/text_tables.h"

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tormel {

// A cell colour as the grid paints it; kept free of any GUI type.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colours {
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Cyan{0, 255, 255};     // fixed cells
inline constexpr Rgb Yellow{255, 255, 0};   // the logger's best lap
inline constexpr Rgb Red{255, 0, 0};        // eliminated lap
inline constexpr Rgb Green{0, 255, 0};      // best engine speed, hottest, best sectors
inline constexpr Rgb GridLines{192, 192, 192};
inline constexpr Rgb Outside{0, 0, 0};
}  // namespace colours

enum class SortMode { NumericAscending, Descending };

// Elimination flags cover laps 0..100.
inline constexpr int LapFlagCount = 101;

// The lap grid's columns, left to right. The four raw columns, always
// hidden, hold the times in hundredths: the sort and the chart use them for
// the time columns.
enum LapColumn : int {
    LapNumberColumn,
    StageColumn,
    LapTimeColumn,
    LapSpeedColumn,
    Sector1TimeColumn,
    Sector1SpeedColumn,
    Sector2TimeColumn,
    Sector2SpeedColumn,
    Sector3TimeColumn,
    Sector3SpeedColumn,
    MaxRpmColumn,
    TemperatureColumn,
    EngineColumn,
    RawLapTimeColumn,
    RawSector1Column,
    RawSector2Column,
    RawSector3Column,
    LapColumnCount
};

// The columns of sector k (1..3).
constexpr int sectorTimeColumn(int k) { return Sector1TimeColumn + 2 * (k - 1); }
constexpr int sectorSpeedColumn(int k) { return sectorTimeColumn(k) + 1; }
constexpr int rawSectorColumn(int k) { return RawSector1Column + (k - 1); }

struct LapCell {
    QString text;
    Rgb background = colours::White;
    // The number the cell shows, which the sort and the chart use; a time
    // cell holds its hundredths. Header cells and cells never written have
    // none.
    std::optional<double> value;
};

struct LapTableRow {
    // Lap shown in the row; 0 for the header and the theoretical-best rows.
    int lap = 0;
    std::array<LapCell, LapColumnCount> cells;
};

// Best value of the rebuild and the lap that set it (lap 0: none).
struct BestRecord {
    std::int32_t value = 0;
    int lap = 0;
};

// How the logger splits a lap: not at all, or into two or three sectors.
enum class SectorMode { None, TwoSectors, ThreeSectors };
// The record's word (any value past 1 is three sectors) as a mode.
SectorMode sectorModeOf(std::uint8_t stored);
// The sections of a lap: none, or the number of its sectors.
constexpr int sectionCount(SectorMode mode)
{
    return mode == SectorMode::None ? 0 : mode == SectorMode::TwoSectors ? 2 : 3;
}

struct LapTableOptions {
    std::array<float, 4> trackLengths{};  // lap, sector 1..3 lengths in metres
    SpeedUnit speedUnit = SpeedUnit::KilometresPerHour;
    TemperatureUnit temperatureUnit = TemperatureUnit::Celsius;
    QString speedUnitCaption = QStringLiteral("km/h");      // caption of the chosen speed entry
    QString temperatureUnitCaption = tormel::temperatureUnitCaption(TemperatureUnit::Celsius);
    std::array<bool, LapFlagCount> eliminatedLaps{};  // kept by the window across rebuilds
    int sortColumn = LapNumberColumn;
    int sortRow = 0;
    QChar decimalSeparator = QLatin1Char('.');
};

struct LapTable {
    static constexpr int ColumnCount = LapColumnCount;
    static constexpr int HeaderRow = 0;
    static constexpr int TheoreticalRow = 1;

    int lapCount = 0;
    SectorMode sectorMode = SectorMode::None;
    // Rows as the grid shows them: header, theoretical best, then the laps
    // in the order of the sort.
    std::vector<LapTableRow> rows;
    std::array<bool, ColumnCount> hidden{};
    std::array<SortMode, ColumnCount> sortModes{};
    std::array<float, ColumnCount> columnMinimum{};
    std::array<float, ColumnCount> columnMaximum{};
    // The logger's best lap when it names a lap of the table, else 0.
    int bestLap = 0;
    std::array<BestRecord, 3> bestSectors{};
    BestRecord bestRpm;
    BestRecord hottest;
    float theoreticalTime = 0.0F;
    int sortColumn = LapNumberColumn;
    int sortRow = 0;

    // Row of the grid that shows lap L, or -1.
    int rowOfLap(int lap) const;
    const LapCell& cell(int row, int column) const { return rows[std::size_t(row)].cells[std::size_t(column)]; }
};

// A table without rows, for views before any record.
const LapTable& emptyLapTable();

// Rebuilds the lap table of a lap-timing record; the rows come out sorted
// by the sort state of the options.
LapTable buildLapTable(const RecordImage& image, const DecodedRecord& record, const TextTables& texts,
                       const LapTableOptions& options);

// Orders the lap rows by column `sortColumn` with that column's sort mode;
// rows with equal keys keep their order, rows without a key go last.
void sortLapRows(LapTable& table, int sortColumn, int sortRow);

// Text of a cell, empty for a row or column the table does not have.
QString cellText(const LapTable& table, int row, int column);
// The number a cell shows, 0 for a cell without one or no cell.
float cellValue(const LapTable& table, int row, int column);
// The lap a row shows, 0 for the header, the theoretical row or no row.
int lapOfRow(const LapTable& table, int row);

// Column the lap-time chart draws for a column of the lap table: time
// columns chart their raw hundredths, stage, engine and lap number nothing
// (LapNumberColumn).
int chartColumnFor(int column);
// Column a header click sorts on: time columns sort on their raw hundredths.
int sortColumnFor(int column);

}  // namespace tormel
