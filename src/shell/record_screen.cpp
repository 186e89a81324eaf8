#include "shell/record_screen.h"

#include "base/app_info.h"
#include "base/twips.h"
#include "charts/canvas.h"
#include "charts/lap_chart_rules.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "charts/smoothing_panel.h"
#include "laps/lap_grid.h"
#include "laps/ranges.h"
#include "laps/ranges_view.h"
#include "platform/dialogs.h"
#include "record/engine_hours_panel.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "shell/record_views.h"
#include "shell/settings_controller.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace tormel {

namespace {

void showHeader(Panels& p, const DecodedRecord& d)
{
    p.Serial_Number->setText(d.serialNumber);
    p.Soft_Ver->setText(d.softwareVersionText);
    p.Hard_Ver->setText(d.hardwareVersionText);
    p.Temp_Limite->setText(d.temperatureLimitText);
    p.Frame_Moteurs->setTimes(d.engineTimes);
    p.Nombre_Etapes->setText(d.stageCountText);
    p.Mode->setText(d.modeText);
}

// A record that shows nothing leaves nothing of the record before it behind
// the view switches, whose menus keep their availability.
void clearLapViews(Panels& p, const RecordDocument& document)
{
    p.Liste_Tours->setTable(document.table());
    p.Graphique_Chronos->setTable(document.table());
    p.Graphique_Chronos->setEliminatedLaps(document.eliminatedLaps());
    p.Frame_Tranches->showRanges(RangesPanel{});
    for (RecordChart* chart : p.Graphique_Record)
        chart->clearLap();
}

void redrawChart(LapTimeChart& chart, const RecordDocument& document)
{
    chart.drawLaps(chart.scrollPosition(), document.chartedColumn());
}

}  // namespace

RecordScreen::RecordScreen(const QWidget& window, Panels& panels, Menus& menus, SettingsController& settings,
                           const TrackState& track, Dialogs& dialogs, QObject* parent)
    : QObject(parent)
    , window_(window)
    , panels_(panels)
    , menus_(menus)
    , settings_(settings)
    , track_(track)
    , dialogs_(dialogs)
{
    setObjectName(QStringLiteral("RecordScreen"));
    connectPanels();
}

void RecordScreen::connectPanels()
{
    Panels& p = panels_;
    connect(p.Frame_Moteurs, &EngineHoursPanel::closeClicked, this, [this] { showPanels(lapPanel_, ChartPlace::Chart); });
    connect(p.Liste_Tours, &LapGrid::headerClicked, this, &RecordScreen::Liste_Tours_HeaderClick);
    connect(p.Liste_Tours, &LapGrid::lapClicked, this, &RecordScreen::Liste_Tours_LapClick);
    connect(p.Liste_Tours, &LapGrid::chartColumnChosen, this, &RecordScreen::Liste_Tours_ChartColumn);
    connect(p.Graphique_Chronos, &LapTimeChart::lapToggled, this, &RecordScreen::Picture1_LapToggled);
    for (int g = 0; g < 3; ++g) {
        connect(p.Graphique_Record[std::size_t(g)], &RecordChart::previousLapClicked, this, [this, g] { SSCommand4_Click(g); });
        connect(p.Graphique_Record[std::size_t(g)], &RecordChart::nextLapClicked, this, [this, g] { SSCommand5_Click(g); });
    }
    connect(p.Parametres_Courbe, &SmoothingPanel::valueChanged, this, &RecordScreen::UpDown1_Change);
    Menus& m = menus_;
    for (int i = 0; i < 4; ++i)
        connect(m.Filtre[std::size_t(i)], &QAction::triggered, this, [this, i] { Filtre_Click(i); });
    connect(m.Temps_Moteurs, &QAction::triggered, this, &RecordScreen::Temps_Moteurs_Click);
    connect(m.Pistes, &QAction::triggered, this, &RecordScreen::Pistes_Click);
    connect(m.Affichage_Table, &QAction::triggered, this, &RecordScreen::Affichage_Table_Click);
    connect(m.Affichage_Tours, &QAction::triggered, this, &RecordScreen::Affichage_Tours_Click);
}

QSize RecordScreen::screen() const
{
    return {window_.width() * TwipsPerPixel, window_.height() * TwipsPerPixel};
}

ViewOptions RecordScreen::viewOptions() const
{
    const WindowSettings& s = settings_.settings();
    ViewOptions o;
    o.trackLengths = track_.record.lengths;
    o.speedUnit = s.speedUnit;
    o.temperatureUnit = s.temperatureUnit;
    o.speedUnitCaption = settings_.menuCaptions()[std::size_t(menuSpeedUnitFirst + int(s.speedUnit))];
    o.temperatureUnitCaption = temperatureUnitCaption(s.temperatureUnit);
    o.filterLevel = filterLevel_;
    o.decimalSeparator = systemDecimalSeparator();
    return o;
}

void RecordScreen::showRecord()
{
    Panels& p = panels_;
    p.Image1->hide();
    menus_.Sauver->setEnabled(true);
    p.Graphique_Chronos->clearReadOut();
    p.Graphique_Chronos->hide();

    document_.analyse(settings_.tables(), viewOptions());
    showHeader(p, document_.decoded());

    if (document_.kind() == RecordKind::EngineSpeed) {
        showPanels(LapPanel::None, ChartPlace::Chart);
        p.Parametres_Courbe->show();
        p.Parametres_Courbe->raise();
        for (RecordChart* chart : p.Graphique_Record) {
            chart->show();
            chart->raise();
        }
        if (document_.refusal() != Refusal::None) {
            clearLapViews(p, document_);
            return refuse();
        }
        // Chart 0 last, so that it ends with the keyboard focus.
        for (int g = 2; g >= 0; --g)
            drawRecordChart(g);
    } else {
        menus_.Unites->menuAction()->setEnabled(true);
        if (document_.refusal() != Refusal::None) {
            clearLapViews(p, document_);
            return refuse();
        }
        p.Parametres_Courbe->hide();
        for (RecordChart* chart : p.Graphique_Record) {
            chart->hide();
            chart->raise();
        }
        fillLapViews(p, document_, screen().width(), screen().height());
        Affichage_Table_Click();
        drawLapChartFromStart(*p.Graphique_Chronos, document_, screen().width());
    }
    enableRecordMenus();
}

void RecordScreen::enableRecordMenus()
{
    const RecordKind kind = document_.kind();
    if (kind == RecordKind::None)
        return;
    const bool laps = kind == RecordKind::LapTiming;
    Menus& m = menus_;
    m.Unites->menuAction()->setEnabled(laps);
    m.Pistes->setEnabled(laps);
    m.Affichage->menuAction()->setEnabled(laps);
    m.Filtres->menuAction()->setEnabled(!laps);
    m.Commentaire->setEnabled(true);
    m.Exporter->setEnabled(true);
    m.Rapport->setEnabled(true);
    m.Comparer->setEnabled(true);
    m.Pignons->setEnabled(!laps);
}

void RecordScreen::refuse()
{
    dialogs_.message(refusalText(document_.refusal(), settings_.tables()), MessageIcon::Information, applicationTitle());
}

void RecordScreen::showLapTable()
{
    if (document_.kind() != RecordKind::LapTiming)
        return;
    document_.rebuildLapTable(settings_.tables(), viewOptions());
    fillLapViews(panels_, document_, screen().width(), screen().height());
}

void RecordScreen::Liste_Tours_HeaderClick(int column)
{
    panels_.Graphique_Chronos->hide();
    document_.sortOnColumn(column);
    fillLapViews(panels_, document_, screen().width(), screen().height());
    redrawChart(*panels_.Graphique_Chronos, document_);
}

void RecordScreen::Liste_Tours_LapClick(int lap)
{
    panels_.Graphique_Chronos->hide();
    if (!document_.toggleLap(lap))
        return;
    showLapTable();
    redrawChart(*panels_.Graphique_Chronos, document_);
}

void RecordScreen::Liste_Tours_ChartColumn(int column)
{
    // The stage and lap-number columns are no figures to chart: the column
    // charted stays, for this drawing and the next ones (a lap eliminated, a new size).
    if (column <= LapNumberColumn)
        return;
    document_.setChartedColumn(column);
    LapTimeChart& chart = *panels_.Graphique_Chronos;
    chart.setChartedColumn(column);
    chart.clearReadOut();
    chart.drawLaps(0, column);
}

void RecordScreen::Picture1_LapToggled(int lap)
{
    if (document_.toggleLap(lap))
        showRecord();
}

void RecordScreen::Affichage_Tours_Click()
{
    fillRanges(*panels_.Frame_Tranches, document_, settings_.tables(), systemDecimalSeparator());
    showPanels(LapPanel::Ranges, ChartPlace::Chart);
    menus_.Unites->menuAction()->setEnabled(false);
}

void RecordScreen::Affichage_Table_Click()
{
    showPanels(LapPanel::Table, ChartPlace::Chart);
    menus_.Unites->menuAction()->setEnabled(true);
}

void RecordScreen::Temps_Moteurs_Click()
{
    // The engine hours cover the ranges, not the lap table.
    showPanels(lapPanel_ == LapPanel::Ranges ? LapPanel::None : lapPanel_, ChartPlace::EngineHours);
    menus_.Unites->menuAction()->setEnabled(false);
}

void RecordScreen::Pistes_Click()
{
    if (chartPlace_ == ChartPlace::TrackEditor) {
        showPanels(lapPanel_, ChartPlace::Chart);
        return;
    }
    showPanels(lapPanel_, ChartPlace::TrackEditor);
    panels_.Frame_Piste->focusName();
}

void RecordScreen::showPanels(LapPanel view, ChartPlace place)
{
    lapPanel_ = view;
    chartPlace_ = place;
    Panels& p = panels_;
    p.Liste_Tours->setVisible(view == LapPanel::Table);
    p.Frame_Tranches->setVisible(view == LapPanel::Ranges);
    if (view == LapPanel::Ranges)
        p.Frame_Tranches->raise();
    // A panel over the chart follows the chart and stays on top of the lap views.
    for (const auto& [panel, holder] : {std::pair<QWidget*, ChartPlace>(p.Frame_Piste, ChartPlace::TrackEditor),
                                        std::pair<QWidget*, ChartPlace>(p.Frame_Moteurs, ChartPlace::EngineHours)}) {
        if (place == holder) {
            panel->move(p.Graphique_Chronos->pos());
            panel->raise();
        }
        panel->setVisible(place == holder);
    }
}

void RecordScreen::relayOut()
{
    Panels& p = panels_;
    const QSize s = screen();
    p.layOut(s.width(), s.height());
    LapTimeChart& chart = *p.Graphique_Chronos;
    if (document_.kind() == RecordKind::LapTiming && document_.refusal() == Refusal::None) {
        p.sizeTableAndChart(s.width(), s.height());
        // The laps in view stay in view as far as the new width allows.
        const LapChartWindow window = lapChartWindow(document_.decoded().lapCount, s.width());
        const int position = std::min(chart.scrollPosition(), window.scrollMaximum);
        chart.setChartWindow(window);
        if (!chart.isHidden())
            chart.drawLaps(position, chart.chartedColumn());
    }
    // The engine-speed charts draw themselves again when their canvases take the new size.
    showPanels(lapPanel_, chartPlace_);
}

// ---- Engine-speed charts and smoothing -----------------------------------------

void RecordScreen::drawRecordChart(int g)
{
    drawChartedLap(*panels_.Graphique_Record[std::size_t(g)], document_, g,
                   [this](const QString& code) { emit unexpectedError(code); });
}

void RecordScreen::SSCommand4_Click(int g)
{
    const int lap = document_.chartedLaps()[std::size_t(g)];
    if (lap < 2) {
        panels_.Graphique_Record[std::size_t(g)]->Crpm()->setFocus();
        return;
    }
    document_.setChartedLap(g, lap - 1);
    drawRecordChart(g);
}

void RecordScreen::SSCommand5_Click(int g)
{
    const int lap = document_.chartedLaps()[std::size_t(g)];
    if (lap >= document_.rpm().lapCount - 1) {
        panels_.Graphique_Record[std::size_t(g)]->Crpm()->setFocus();
        return;
    }
    document_.setChartedLap(g, lap + 1);
    drawRecordChart(g);
}

void RecordScreen::Filtre_Click(int index)
{
    // The menu mirrors the smoothing level; the level decodes again.
    for (int i = 0; i < 4; ++i)
        menus_.Filtre[std::size_t(i)]->setChecked(i == index);
    panels_.Parametres_Courbe->setValue(index);
}

void RecordScreen::UpDown1_Change(int level)
{
    panels_.Parametres_Courbe->showSmoothing(settings_.tables().texts[smoothingSamplesChanged]);
    filterLevel_ = level;
    for (int i = 0; i < 4; ++i)
        menus_.Filtre[std::size_t(i)]->setChecked(i == level);
    if (document_.isShown())
        showRecord();
    emit filterLevelChanged(level);
}

}  // namespace tormel
