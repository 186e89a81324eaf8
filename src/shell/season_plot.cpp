#include "shell/season_plot.h"

#include "laps/conversions.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

constexpr double SecondsPerDay = 86'400;
constexpr double PickPixels = 8;  // how near a point the pointer must be to name it

// Lap times on the scale as the lap table writes them (58"12, 1'02"35).
class LapTimeTicker : public QCPAxisTicker {
protected:
    QString getTickLabel(double tick, const QLocale&, QChar, int) override { return lapTimeText(float(tick * 100)); }
};

// The legend in a row of its own under the chart: the season's points may be anywhere.
void legendBelow(QCustomPlot& plot)
{
    plot.axisRect()->insetLayout()->take(plot.legend);
    plot.plotLayout()->addElement(plot.plotLayout()->rowCount(), 0, plot.legend);
    plot.legend->setFillOrder(QCPLegend::foColumnsFirst);
    plot.plotLayout()->setRowStretchFactor(plot.plotLayout()->rowCount() - 1, 0.001);
    plot.legend->setVisible(true);
}

// The language's short date without its year: 08/12, 08.12.
QString dayAndMonth(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    format.remove(QStringLiteral("yyyy")).remove(QStringLiteral("yy"));
    while (!format.isEmpty() && !format.back().isLetter())
        format.chop(1);
    while (!format.isEmpty() && !format.front().isLetter())
        format.remove(0, 1);
    return format;
}

}  // namespace

std::vector<double> seasonPlaces(const std::vector<SeasonSession>& sessions)
{
    std::vector<double> places(sessions.size());
    if (sessions.empty())
        return places;
    const auto seconds = [](const QDateTime& d) { return double(d.toSecsSinceEpoch()); };
    const double span = seconds(sessions.back().date) - seconds(sessions.front().date);
    // A step to see at any span: a day's sessions keep apart however long the season.
    const double gap = std::max(span / 150, 1800.0);
    for (std::size_t first = 0; first < sessions.size();) {
        std::size_t end = first;
        while (end < sessions.size() && sessions[end].date.date() == sessions[first].date.date())
            ++end;
        const double noon = seconds(QDateTime(sessions[first].date.date(), QTime(12, 0)));
        const double count = double(end - first);
        for (std::size_t i = first; i < end; ++i)
            places[i] = noon + (double(i - first) - (count - 1) / 2) * gap;
        first = end;
    }
    return places;
}

SeasonPlot::SeasonPlot(QWidget* parent)
    : ComparisonPlot(parent)
    , tables_(frenchTextTables())
{
    setMouseTracking(true);
    legendBelow(*this);
    xAxis->setTicker(QSharedPointer<QCPAxisTickerDateTime>::create());
    yAxis->setTicker(QSharedPointer<LapTimeTicker>::create());
    // Quicker is better: the quickest lap at the top.
    yAxis->setRangeReversed(true);
}

void SeasonPlot::showTrack(const TrackBests& track, const TextTables& tables)
{
    tables_ = tables;
    sessions_ = track.sessions;
    places_ = seasonPlaces(sessions_);
    setLocale(plotLocale(tables.language));
    clearLaps();
    styleAxis(xAxis, tables.texts[seasonDateAxis]);
    styleAxis(yAxis, tables.texts[seasonTimeAxis]);
    const QColor best(0, 92, 170);
    const QColor theoretical(220, 110, 0);
    const auto series = [this](const QColor& colour, QCPScatterStyle::ScatterShape shape, const QString& name) {
        QCPGraph* g = addGraph();
        g->setPen(QPen(colour, 1.3));
        g->setScatterStyle(QCPScatterStyle(shape, colour, colour, 7));
        nameInLegend(g, name);
        return g;
    };
    QCPGraph* bests = series(best, QCPScatterStyle::ssDisc, tables.texts[libraryBestLap]);
    QCPGraph* theoreticals = series(theoretical, QCPScatterStyle::ssCross, tables.texts[libraryTheoretical]);
    theoreticals->setLineStyle(QCPGraph::lsNone);
    QCPGraph* seasonBest = addGraph();
    seasonBest->setPen(QPen(best, 1, Qt::DashLine));
    nameInLegend(seasonBest, tables.texts[seasonBestLine].arg(lapTimeText(float(track.lap.time))));
    if (sessions_.empty()) {
        replot();
        return;
    }
    double low = sessions_.front().bestLap;
    double high = low;
    for (std::size_t i = 0; i < sessions_.size(); ++i) {
        const SeasonSession& s = sessions_[i];
        bests->addData(places_[i], s.bestLap / 100.0);
        low = std::min<double>(low, s.bestLap);
        high = std::max<double>(high, s.bestLap);
        if (s.theoretical > 0) {
            theoreticals->addData(places_[i], s.theoretical / 100.0);
            low = std::min<double>(low, s.theoretical);
        }
    }
    const double first = places_.front();
    const double last = places_.back();
    const double span = last - first;
    const double margin = std::max(span * 0.05, SecondsPerDay);
    xAxis->setRange(first - margin, last + margin);
    seasonBest->setData({first - margin, last + margin}, {track.lap.time / 100.0, track.lap.time / 100.0});
    const double room = std::max(10.0, (high - low) * 0.1);
    yAxis->setRange((low - room) / 100.0, (high + room) / 100.0);
    auto ticker = qSharedPointerCast<QCPAxisTickerDateTime>(xAxis->ticker());
    // Days and weeks by their day, a longer season by its months.
    ticker->setDateTimeFormat(span <= 90 * SecondsPerDay ? dayAndMonth(locale()) : QStringLiteral("MMM yyyy"));
    ticker->setTickCount(6);
    replot();
}

int SeasonPlot::sessionAt(const QPointF& pixel) const
{
    int nearest = -1;
    double best = PickPixels;
    for (std::size_t i = 0; i < sessions_.size(); ++i) {
        const QPointF at(xAxis->coordToPixel(places_[i]), yAxis->coordToPixel(sessions_[i].bestLap / 100.0));
        if (const double d = std::hypot(at.x() - pixel.x(), at.y() - pixel.y()); d <= best) {
            best = d;
            nearest = int(i);
        }
    }
    return nearest;
}

QString SeasonPlot::sessionText(int index) const
{
    if (index < 0 || std::size_t(index) >= sessions_.size())
        return {};
    const SeasonSession& s = sessions_[std::size_t(index)];
    const QString date = languageLocale(tables_.language).toString(s.date, languageDateFormat(tables_.language) + QStringLiteral(" HH:mm"));
    return tables_.texts[seasonSessionTip].arg(date, lapTimeText(float(s.bestLap)),
                                                s.file.isEmpty() ? tables_.texts[libraryMissing] : QFileInfo(s.file).fileName());
}

ConsistencyPlot::ConsistencyPlot(QWidget* parent)
    : ComparisonPlot(parent)
{
    legendBelow(*this);
    xAxis->setTicker(QSharedPointer<QCPAxisTickerDateTime>::create());
    // Laps are counted whole.
    auto whole = QSharedPointer<QCPAxisTickerFixed>::create();
    whole->setTickStep(1);
    whole->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    yAxis->setTicker(whole);
    yAxis2->setVisible(true);
}

void ConsistencyPlot::showTrack(const TrackBests& track, const TextTables& tables)
{
    setLocale(plotLocale(tables.language));
    clearLaps();
    clearItems();
    styleAxis(xAxis, tables.texts[seasonDateAxis]);
    styleAxis(yAxis, tables.texts[libraryWindowCount]);
    styleAxis(yAxis2, tables.texts[librarySpread]);
    const std::vector<double> places = seasonPlaces(track.sessions);
    auto* windows = new QCPBars(xAxis, yAxis);
    windows->setBrush(QColor(0, 92, 170, 150));
    windows->setPen(Qt::NoPen);
    nameInLegend(windows, tables.texts[libraryWindowCount]);
    QCPGraph* spread = addGraph(xAxis, yAxis2);
    spread->setLineStyle(QCPGraph::lsNone);
    spread->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, QColor(220, 110, 0), QColor(220, 110, 0), 7));
    nameInLegend(spread, tables.texts[librarySpread]);
    double mostWindows = 1;
    double widestSpread = 0.1;
    for (std::size_t i = 0; i < track.sessions.size(); ++i) {
        const std::optional<Consistency>& c = track.sessions[i].consistency;
        if (!c || c->racingLaps == 0)
            continue;
        windows->addData(places[i], c->windowCount);
        spread->addData(places[i], c->spread / 100);
        mostWindows = std::max<double>(mostWindows, c->windowCount);
        widestSpread = std::max(widestSpread, c->spread / 100);
    }
    const double span = places.empty() ? 0 : places.back() - places.front();
    windows->setWidth(std::max(span / 250, 1200.0));
    const double margin = std::max(span * 0.05, SecondsPerDay);
    if (!places.empty())
        xAxis->setRange(places.front() - margin, places.back() + margin);
    auto ticker = qSharedPointerCast<QCPAxisTickerDateTime>(xAxis->ticker());
    ticker->setDateTimeFormat(span <= 90 * SecondsPerDay ? dayAndMonth(locale()) : QStringLiteral("MMM yyyy"));
    ticker->setTickCount(6);
    yAxis->setRange(0, mostWindows * 1.15);
    yAxis2->setRange(0, widestSpread * 1.15);
    replot();
}

bool SeasonPlot::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const int i = sessionAt(help->pos()); i >= 0) {
            QToolTip::showText(help->globalPos(), sessionText(i), this);
            return true;
        }
    }
    return ComparisonPlot::event(event);
}

void SeasonPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (const int i = sessionAt(event->position()); i >= 0)
            emit sessionChosen(sessions_[std::size_t(i)].identity);
    ComparisonPlot::mousePressEvent(event);
}

void SeasonPlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (const int i = sessionAt(event->position()); i >= 0)
            emit sessionOpened(sessions_[std::size_t(i)].identity);
    ComparisonPlot::mouseDoubleClickEvent(event);
}

}  // namespace tormel
