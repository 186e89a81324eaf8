#pragma once

#include "base/units.h"
#include "library/season_bests.h"
#include "library/session_index.h"
#include "library/setup_sheet.h"
#include "texts/text_tables.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QSortFilterProxyModel>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tormel {

// A session as the library table shows it.
struct LibraryRow {
    Session session;
    QString trackName;
    SetupSheet setup;  // empty when the session has none
    SetupSheetError setupError;  // a sheet that does not parse: why, and the session is shown without it
};

enum LibraryColumn : int {
    LibraryDateColumn,
    LibrarySerialColumn,
    LibraryTrackColumn,
    LibraryKindColumn,
    LibraryLapsColumn,
    LibraryBestLapColumn,
    LibraryTheoreticalColumn,
    LibraryRacingLapsColumn,
    LibraryWindowColumn,
    LibrarySpreadColumn,
    LibraryDeviationColumn,
    LibraryMaxRpmColumn,
    LibraryMaxTemperatureColumn,
    LibraryDriverColumn,
    LibraryGearingColumn,
    LibraryFilesColumn,
    LibraryColumnCount
};

// Serial numbers in order as numbers (99 before 270415), those that are
// none after them, as text.
bool serialNumberLess(const QString& a, const QString& b);

// What the table shows of the rows, worked out once per update (away from
// the window's thread), so that sorting and filtering only compare.
struct LibraryCells {
    std::array<QString, LibraryColumnCount> text;
    std::array<double, LibraryColumnCount> key{};  // numeric columns; a blank cell sorts last
    QString search;                                 // every text of the row, folded, for the free-text filter
    // The session before it on its track that has a setup sheet, for "as
    // the last session"; empty when there is none.
    QString previousWithSheet;
};
struct LibraryRows {
    std::vector<LibraryRow> rows;
    std::vector<LibraryCells> cells;
    std::vector<TrackBests> bests;      // the season's, per track
    std::map<int, QString> trackNames;  // of the tracks the sessions name
};
LibraryRows libraryRows(std::vector<LibraryRow> rows, const TextTables& tables, TemperatureUnit temperatureUnit);

class LibraryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int MissingRole = Qt::UserRole;  // true when none of the session's files is there
    static constexpr int PathRole = Qt::UserRole + 1;  // the file that opens the session

    explicit LibraryModel(QObject* parent = nullptr);

    // Rows matched by their session's identity: those gone are removed, new
    // ones added, the others changed in place, so that a view keeps its
    // chosen row, its sort and its scroll through an update.
    void setRows(LibraryRows rows);
    void setHeaders(const TextTables& tables);
    const LibraryRow& row(int r) const { return rows_.rows[std::size_t(r)]; }
    const LibraryCells& cells(int r) const { return rows_.cells[std::size_t(r)]; }
    // The row of a session; -1 when it has none.
    int rowOf(const QString& identity) const { return rowOfIdentity_.value(identity, -1); }
    const std::vector<TrackBests>& bests() const { return rows_.bests; }
    const std::map<int, QString>& trackNames() const { return rows_.trackNames; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void indexRows();

    LibraryRows rows_;
    QHash<QString, int> rowOfIdentity_;
    std::array<QString, LibraryColumnCount> headers_;
};

// The rows the filters let through, in the order of the chosen column.
class LibraryFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit LibraryFilter(LibraryModel* model, QObject* parent = nullptr);

    void setTrack(std::optional<int> track);
    void setSerialNumber(const QString& serial);  // empty: any
    void setDates(const QDate& from, const QDate& to);  // invalid: no bound
    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    void refilter();

    LibraryModel* model_;
    std::optional<int> track_;
    QString serial_;
    QDate from_;
    QDate to_;
    QString text_;
};

}  // namespace tormel
