#include "library/library_model.h"

#include "base/number_format.h"
#include "laps/conversions.h"

#include <algorithm>
#include <limits>

namespace tormel {

namespace {

constexpr double Blank = std::numeric_limits<double>::max();

bool sortsAsText(int column)
{
    return column == LibraryKindColumn || column == LibraryDriverColumn || column == LibraryFilesColumn;
}

// Case and accents set aside: "regime" finds "Régime".
QString folded(const QString& text)
{
    QString plain;
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return plain.toCaseFolded();
}

// Sets a numeric cell: its text and its key, or a blank cell that sorts last.
void put(LibraryCells& c, int column, std::optional<double> value, const QString& text)
{
    c.text[std::size_t(column)] = value ? text : QString();
    c.key[std::size_t(column)] = value.value_or(Blank);
}

std::optional<double> positive(double value)
{
    return value > 0 ? std::optional(value) : std::nullopt;
}

LibraryCells cellsOf(const LibraryRow& row, const TextTables& tables, TemperatureUnit temperatureUnit,
                     const QLocale& locale, const QString& dateFormat)
{
    const Session& s = row.session;
    const SessionFigures& f = s.figures;
    LibraryCells c;
    put(c, LibraryDateColumn, double(s.date.toMSecsSinceEpoch()), locale.toString(s.date, dateFormat));
    c.text[LibrarySerialColumn] = f.serialNumber;
    put(c, LibraryTrackColumn, s.track ? std::optional(double(*s.track)) : std::nullopt,
        s.track ? QStringLiteral("%1 %2").arg(*s.track).arg(row.trackName) : QString());
    c.text[LibraryKindColumn] = tables.texts[f.kind == RecordKind::EngineSpeed ? libraryKindRpm : libraryKindLaps];
    put(c, LibraryLapsColumn, double(f.laps), QString::number(f.laps));
    put(c, LibraryBestLapColumn, positive(f.bestTime), lapTimeText(float(f.bestTime)));
    put(c, LibraryTheoreticalColumn, positive(f.theoreticalBest), lapTimeText(float(f.theoreticalBest)));
    const std::optional<Consistency>& k = f.consistency;
    if (k && k->racingLaps > 0) {
        const auto seconds = [&tables](double hundredths) {
            return formatNumber(hundredths / 100.0, QStringLiteral("0.00"), decimalSeparatorOf(tables.language));
        };
        put(c, LibraryRacingLapsColumn, double(k->racingLaps), QString::number(k->racingLaps));
        put(c, LibraryWindowColumn, double(k->windowCount), QString::number(k->windowCount));
        put(c, LibrarySpreadColumn, k->spread, seconds(k->spread));
        put(c, LibraryDeviationColumn, k->deviation, seconds(k->deviation));
    } else {
        for (int column : {LibraryRacingLapsColumn, LibraryWindowColumn, LibrarySpreadColumn, LibraryDeviationColumn})
            put(c, column, std::nullopt, {});
    }
    put(c, LibraryMaxRpmColumn, double(f.maxRpm), QString::number(f.maxRpm));
    const std::optional<int> temperature = f.maxTemperature
        ? std::optional(convertTemperature(*f.maxTemperature, TemperatureUnit::Celsius, temperatureUnit))
        : std::nullopt;
    put(c, LibraryMaxTemperatureColumn, temperature, QString::number(temperature.value_or(0)));
    c.text[LibraryDriverColumn] = row.setup.driver;
    if (const std::optional<int> bytes = s.truncatedBytes()) {
        // An image padded with zeros: its figures say nothing of the session.
        for (int column : {LibraryLapsColumn, LibraryBestLapColumn, LibraryTheoreticalColumn, LibraryRacingLapsColumn,
                           LibraryWindowColumn, LibrarySpreadColumn, LibraryDeviationColumn, LibraryMaxRpmColumn,
                           LibraryMaxTemperatureColumn})
            put(c, column, std::nullopt, {});
        c.text[LibraryKindColumn] += QStringLiteral(" (%1)").arg(tables.texts[libraryTruncated].arg(*bytes).arg(RecordImage::Size));
    }
    const SetupSheet& setup = row.setup;
    put(c, LibraryGearingColumn, setup.sprocketRatio(),
        QStringLiteral("%1/%2").arg(setup.frontSprocket.value_or(0)).arg(setup.rearSprocket.value_or(0)));
    QStringList files;
    for (const SessionFile& file : s.files)
        files << file.path;
    c.text[LibraryFilesColumn] = (s.missing ? tables.texts[libraryMissing] + QStringLiteral(": ") : QString())
        + files.join(QStringLiteral("; "));
    QStringList all(c.text.begin(), c.text.end());
    all << setup.kart << setup.tyres << setup.trackCondition << setup.remark;
    c.search = folded(all.join(QLatin1Char('\n')));
    return c;
}

}  // namespace

bool serialNumberLess(const QString& a, const QString& b)
{
    bool aNumber = false;
    bool bNumber = false;
    const qulonglong x = a.toULongLong(&aNumber);
    const qulonglong y = b.toULongLong(&bNumber);
    if (aNumber && bNumber && x != y)
        return x < y;
    if (aNumber != bNumber)
        return aNumber;
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

LibraryRows libraryRows(std::vector<LibraryRow> rows, const TextTables& tables, TemperatureUnit temperatureUnit)
{
    LibraryRows r;
    r.cells.reserve(rows.size());
    const QLocale locale = languageLocale(tables.language);
    const QString dateFormat = languageDateFormat(tables.language) + QStringLiteral(" HH:mm");
    for (const LibraryRow& row : rows)
        r.cells.push_back(cellsOf(row, tables, temperatureUnit, locale, dateFormat));

    // Each track's sessions by date: the last one before each that has a whole sheet.
    std::map<int, std::vector<std::size_t>> byTrack;
    std::vector<Session> sessions;
    sessions.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Session& s = rows[i].session;
        sessions.push_back(s);
        if (!s.track)
            continue;
        byTrack[*s.track].push_back(i);
        r.trackNames[*s.track] = rows[i].trackName;
    }
    for (auto& entry : byTrack) {
        std::vector<std::size_t>& indices = entry.second;
        std::stable_sort(indices.begin(), indices.end(),
                         [&](std::size_t a, std::size_t b) { return rows[a].session.date < rows[b].session.date; });
        QString previous;   // the last with a sheet strictly before the date at hand
        QString candidate;  // the last with a sheet up to it
        for (std::size_t k = 0; k < indices.size(); ++k) {
            const LibraryRow& row = rows[indices[k]];
            if (k > 0 && rows[indices[k - 1]].session.date < row.session.date)
                previous = candidate;
            r.cells[indices[k]].previousWithSheet = previous;
            if (!row.setup.isEmpty() && !row.session.truncatedBytes())
                candidate = row.session.identity;
        }
    }
    r.bests = seasonBests(sessions);
    r.rows = std::move(rows);
    return r;
}

LibraryModel::LibraryModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void LibraryModel::setRows(LibraryRows rows)
{
    QHash<QString, std::size_t> incoming;
    incoming.reserve(qsizetype(rows.rows.size()));
    for (std::size_t i = 0; i < rows.rows.size(); ++i)
        incoming.insert(rows.rows[i].session.identity, i);

    // Runs of rows whose session is gone, from the last.
    for (int last = rowCount() - 1; last >= 0;) {
        if (incoming.contains(rows_.rows[std::size_t(last)].session.identity)) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !incoming.contains(rows_.rows[std::size_t(first - 1)].session.identity))
            --first;
        beginRemoveRows({}, first, last);
        rows_.rows.erase(rows_.rows.begin() + first, rows_.rows.begin() + last + 1);
        rows_.cells.erase(rows_.cells.begin() + first, rows_.cells.begin() + last + 1);
        endRemoveRows();
        last = first - 1;
    }

    // The others in place; only those that differ are told.
    std::vector<bool> placed(rows.rows.size(), false);
    int firstChanged = -1;
    int lastChanged = -1;
    for (std::size_t r = 0; r < rows_.rows.size(); ++r) {
        const std::size_t i = incoming.value(rows_.rows[r].session.identity);
        placed[i] = true;
        LibraryRow& row = rows.rows[i];
        LibraryCells& cells = rows.cells[i];
        const bool same = cells.text == rows_.cells[r].text && cells.search == rows_.cells[r].search
            && cells.previousWithSheet == rows_.cells[r].previousWithSheet && row.setup == rows_.rows[r].setup
            && row.setupError == rows_.rows[r].setupError && row.session.missing == rows_.rows[r].session.missing
            && row.session.presentFile() == rows_.rows[r].session.presentFile();
        rows_.rows[r] = std::move(row);
        rows_.cells[r] = std::move(cells);
        if (!same) {
            firstChanged = firstChanged < 0 ? int(r) : firstChanged;
            lastChanged = int(r);
        }
    }
    rows_.bests = std::move(rows.bests);
    rows_.trackNames = std::move(rows.trackNames);
    indexRows();
    if (firstChanged >= 0)
        emit dataChanged(index(firstChanged, 0), index(lastChanged, LibraryColumnCount - 1));

    // The new ones at the end; the view sorts them into place.
    std::vector<std::size_t> added;
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (!placed[i] && incoming.value(rows.rows[i].session.identity) == i)
            added.push_back(i);
    if (added.empty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + int(added.size()) - 1);
    for (std::size_t i : added) {
        rows_.rows.push_back(std::move(rows.rows[i]));
        rows_.cells.push_back(std::move(rows.cells[i]));
    }
    indexRows();
    endInsertRows();
}

void LibraryModel::indexRows()
{
    rowOfIdentity_.clear();
    rowOfIdentity_.reserve(qsizetype(rows_.rows.size()));
    for (std::size_t r = 0; r < rows_.rows.size(); ++r)
        rowOfIdentity_.insert(rows_.rows[r].session.identity, int(r));
}

void LibraryModel::setHeaders(const TextTables& tables)
{
    const TextEntry entries[] = {libraryDate,        librarySerial,      libraryTrack,     libraryKind,
                                 libraryLaps,        libraryBestLap,     libraryTheoretical, libraryRacingLaps,
                                 libraryWindowCount, librarySpread,      libraryDeviation, libraryMaxRpm,
                                 libraryMaxTemperature, libraryDriver,   libraryGearing,   libraryFiles};
    static_assert(std::size(entries) == LibraryColumnCount);
    for (int i = 0; i < LibraryColumnCount; ++i)
        headers_[std::size_t(i)] = tables.texts[entries[i]];
    emit headerDataChanged(Qt::Horizontal, 0, LibraryColumnCount - 1);
}

int LibraryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.rows.size());
}

int LibraryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : LibraryColumnCount;
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= LibraryColumnCount)
        return {};
    const auto r = std::size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return rows_.cells[r].text[std::size_t(index.column())];
    case Qt::ToolTipRole:  // the files' paths, whole, however narrow their column
        return index.column() == LibraryFilesColumn ? QVariant(rows_.cells[r].text[std::size_t(index.column())]) : QVariant();
    case MissingRole:
        return rows_.rows[r].session.missing;
    case PathRole:
        return rows_.rows[r].session.presentFile();
    case Qt::TextAlignmentRole:
        return sortsAsText(index.column()) || index.column() == LibraryTrackColumn
            ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
            : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < LibraryColumnCount)
        return headers_[std::size_t(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

LibraryFilter::LibraryFilter(LibraryModel* model, QObject* parent)
    : QSortFilterProxyModel(parent)
    , model_(model)
{
    setSourceModel(model);
}

void LibraryFilter::setTrack(std::optional<int> track)
{
    track_ = track;
    refilter();
}

void LibraryFilter::setSerialNumber(const QString& serial)
{
    serial_ = serial;
    refilter();
}

void LibraryFilter::setDates(const QDate& from, const QDate& to)
{
    from_ = from;
    to_ = to;
    refilter();
}

void LibraryFilter::setText(const QString& text)
{
    text_ = folded(text.trimmed());
    refilter();
}

void LibraryFilter::refilter()
{
    invalidateFilter();
}

bool LibraryFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const LibraryRow& row = model_->row(sourceRow);
    const Session& s = row.session;
    const QDate day = s.date.date();
    return (!track_ || s.track == track_) && (serial_.isEmpty() || s.figures.serialNumber == serial_)
        && (!from_.isValid() || day >= from_) && (!to_.isValid() || day <= to_)
        && (text_.isEmpty() || model_->cells(sourceRow).search.contains(text_));
}

bool LibraryFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int column = left.column();
    const LibraryCells& a = model_->cells(left.row());
    const LibraryCells& b = model_->cells(right.row());
    const auto c = std::size_t(column);
    if (column == LibrarySerialColumn)
        return serialNumberLess(a.text[c], b.text[c]);
    if (sortsAsText(column))
        return a.text[c].compare(b.text[c], Qt::CaseInsensitive) < 0;
    return a.key[c] < b.key[c];
}

}  // namespace tormel
