#include "shell/season_report.h"

#include "base/number_format.h"
#include "laps/conversions.h"
#include "library/season_bests.h"
#include "shell/season_plot.h"
#include "shell/session_report.h"
#include "tracks/track_file.h"

#include <QFileInfo>
#include <QPdfWriter>

#include <climits>
#include <map>

namespace tormel {

namespace {

// The sessions that name no track share a number no track has, after the others.
constexpr int NoTrack = INT_MAX;
constexpr double PageLines = 40;
constexpr double ChartWidth = 1100;  // the charts are laid out as on a screen, then scaled to the page
constexpr int TableRows = 34;        // rows of the sessions' table on one page

struct TrackPart {
    QString caption;
    TrackBests bests;
    std::vector<const LibraryRow*> rows;  // by date
};

QString dateText(const QDateTime& date, const TextTables& tables)
{
    return languageLocale(tables.language).toString(date, languageDateFormat(tables.language) + QStringLiteral(" HH:mm"));
}

QString timeText(std::int32_t hundredths)
{
    return hundredths > 0 ? lapTimeText(float(hundredths)) : QString();
}

// The lap-timing sessions whose figures stand, by track.
std::vector<TrackPart> trackParts(const std::vector<LibraryRow>& rows, const TextTables& tables)
{
    std::vector<Session> sessions;
    std::map<int, TrackPart> parts;
    for (const LibraryRow& row : rows) {
        const Session& s = row.session;
        if (s.figures.kind != RecordKind::LapTiming || s.figures.refusal != Refusal::None || s.truncatedBytes())
            continue;
        const int track = s.track && isTrackNumber(*s.track) ? *s.track : NoTrack;
        sessions.push_back(s);
        sessions.back().track = track;
        TrackPart& part = parts[track];
        part.rows.push_back(&row);
        part.caption = track == NoTrack ? tables.texts[seasonNoTrack] : QStringLiteral("%1 %2").arg(track).arg(row.trackName).trimmed();
    }
    for (TrackBests& bests : seasonBests(sessions))
        parts[bests.track].bests = std::move(bests);
    std::vector<TrackPart> ordered;
    for (auto& [track, part] : parts) {
        std::stable_sort(part.rows.begin(), part.rows.end(),
                         [](const LibraryRow* a, const LibraryRow* b) { return a->session.date < b->session.date; });
        ordered.push_back(std::move(part));
    }
    return ordered;
}

class SeasonPages {
public:
    SeasonPages(QPdfWriter& pdf, QCPPainter& painter, const TextTables& tables)
        : pdf_(pdf)
        , p_(painter)
        , tables_(tables)
        , page_(0, 0, pdf.width(), pdf.height())
        , line_(page_.height() / PageLines)
    {
        QFont font = p_.font();
        font.setPixelSize(int(line_ * 0.55));
        p_.setFont(font);
    }

    void track(const TrackPart& part)
    {
        if (!first_)
            pdf_.newPage();
        first_ = false;
        double y = 0;
        title(y, tables_.texts[bestsTitle] + QStringLiteral(" — ") + part.caption);
        y += line_ * 1.6;
        const TrackBests& b = part.bests;
        const std::pair<QString, const SeasonBest*> bests[] = {
            {tables_.texts[libraryBestLap], &b.lap},
            {tables_.texts[libraryTheoretical], &b.theoretical},
            {tables_.texts[bestsSection].arg(1), &b.sections[0]},
            {tables_.texts[bestsSection].arg(2), &b.sections[1]},
            {tables_.texts[bestsSection].arg(3), &b.sections[2]},
        };
        for (const auto& [caption, best] : bests) {
            text(QRectF(0, y, page_.width() * 0.25, line_), Qt::AlignLeft, caption);
            text(QRectF(page_.width() * 0.25, y, page_.width() * 0.12, line_), Qt::AlignRight, timeText(best->time));
            if (best->time > 0)
                text(QRectF(page_.width() * 0.40, y, page_.width() * 0.6, line_), Qt::AlignLeft,
                     dateText(best->date, tables_) + QStringLiteral("   ") + fileOf(part, best->identity));
            y += line_;
        }
        y += line_ * 0.5;
        const double scale = page_.width() / ChartWidth;
        SeasonPlot season;
        season.showTrack(b, tables_);
        season.paintInto(p_, QRectF(0, y, page_.width(), line_ * 16), scale);
        y += line_ * 16.5;
        title(y, tables_.texts[seasonConsistencyTitle]);
        y += line_ * 1.4;
        ConsistencyPlot consistency;
        consistency.showTrack(b, tables_);
        consistency.paintInto(p_, QRectF(0, y, page_.width(), page_.height() - y), scale);
        table(part);
    }

private:
    static QString fileOf(const TrackPart& part, const QString& identity)
    {
        for (const LibraryRow* row : part.rows)
            if (row->session.identity == identity)
                return QFileInfo(row->session.presentFile()).fileName();
        return {};
    }

    void title(double y, const QString& caption)
    {
        p_.save();
        QFont bold = p_.font();
        bold.setBold(true);
        bold.setPixelSize(int(line_ * 0.8));
        p_.setFont(bold);
        p_.drawText(QRectF(0, y, page_.width(), line_ * 1.4), Qt::AlignLeft | Qt::AlignVCenter, caption);
        p_.restore();
    }

    void text(const QRectF& box, Qt::Alignment align, const QString& s)
    {
        p_.drawText(box.adjusted(line_ * 0.3, 0, -line_ * 0.3, 0), align | Qt::AlignVCenter, s);
    }

    // The sessions' table, over as many pages as it needs.
    void table(const TrackPart& part)
    {
        const TextEntry headers[] = {libraryDate, libraryLaps, libraryBestLap, libraryTheoretical, libraryRacingLaps,
                                     libraryWindowCount, librarySpread, libraryDriver, libraryGearing};
        const double widths[] = {0.15, 0.06, 0.10, 0.12, 0.10, 0.10, 0.09, 0.16, 0.12};
        const QChar point = decimalSeparatorOf(tables_.language);
        const auto row = [&](double y, const QStringList& cells, bool bold) {
            p_.save();
            QFont font = p_.font();
            font.setBold(bold);
            p_.setFont(font);
            double x = 0;
            for (qsizetype c = 0; c < cells.size(); ++c) {
                const double w = page_.width() * widths[c];
                text(QRectF(x, y, w, line_), c == 0 || c >= 7 ? Qt::AlignLeft : Qt::AlignRight, cells[c]);
                x += w;
            }
            p_.setPen(QColor(200, 200, 200));
            p_.drawLine(QPointF(0, y + line_), QPointF(page_.width(), y + line_));
            p_.restore();
        };
        QStringList header;
        for (TextEntry e : headers)
            header << tables_.texts[e];
        for (std::size_t first = 0; first < part.rows.size(); first += TableRows) {
            pdf_.newPage();
            title(0, tables_.texts[bestsTitle] + QStringLiteral(" — ") + part.caption);
            double y = line_ * 1.8;
            row(y, header, true);
            for (std::size_t r = first; r < std::min(part.rows.size(), first + TableRows); ++r) {
                y += line_;
                const LibraryRow& l = *part.rows[r];
                const SessionFigures& f = l.session.figures;
                const std::optional<Consistency>& k = f.consistency;
                const bool racing = k && k->racingLaps > 0;
                const std::optional<double> ratio = l.setup.sprocketRatio();
                row(y,
                    {dateText(l.session.date, tables_), QString::number(f.laps), timeText(f.bestTime), timeText(f.theoreticalBest),
                     racing ? QString::number(k->racingLaps) : QString(), racing ? QString::number(k->windowCount) : QString(),
                     racing ? formatNumber(k->spread / 100, QStringLiteral("0.00"), point) : QString(), l.setup.driver,
                     ratio ? QStringLiteral("%1/%2").arg(*l.setup.frontSprocket).arg(*l.setup.rearSprocket) : QString()},
                    false);
            }
        }
    }

    QPdfWriter& pdf_;
    QCPPainter& p_;
    const TextTables& tables_;
    QRectF page_;
    double line_;
    bool first_ = true;
};

}  // namespace

bool writeSeasonReport(const QString& path, const std::vector<LibraryRow>& rows, const TextTables& tables, QString* errorText)
{
    const std::vector<TrackPart> parts = trackParts(rows, tables);
    return writePdf(path, tables.texts[bestsTitle], [&](QPdfWriter& pdf, QCPPainter& painter) {
        SeasonPages pages(pdf, painter, tables);
        for (const TrackPart& part : parts)
            pages.track(part);
    }, errorText);
}

}  // namespace tormel
