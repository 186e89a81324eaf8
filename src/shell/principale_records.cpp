#include "shell/principale.h"
#include "shell/settings_controller.h"

#include "base/app_info.h"
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
#include "tracks/track_editor.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <utility>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace tormel {

namespace {

// A track file that cannot be written (a user without a home, a folder of
// someone else's) is said once, with its whole path: the program then works
// from what it holds in memory.
void reportTrackFileFailure(Dialogs& dialogs, TrackState& track, const TextTables& tables, const QString& trackFile,
                            const QString& error)
{
    if (std::exchange(track.writeFailureShown, true))
        return;
    dialogs.message(tables.texts[trackFileNotWritten].arg(QFileInfo(trackFile).absoluteFilePath(), error),
                    MessageIcon::Exclamation, applicationTitle());
}

}  // namespace

// ---- The decoder road and the lap views ------------------------------------

ViewOptions Principale::viewOptions() const
{
    ViewOptions o;
    o.trackLengths = track_.record.lengths;
    o.speedUnit = int(settings_->settings().speedUnit);
    o.temperatureUnit = int(settings_->settings().temperatureUnit);
    o.speedUnitCaption = settings_->menuCaptions()[std::size_t(menuSpeedUnitFirst + int(settings_->settings().speedUnit))];
    o.temperatureUnitCaption = temperatureUnitCaption(settings_->settings().temperatureUnit);
    o.filterLevel = state_.filterLevel;
    o.decimalSeparator = systemDecimalSeparator();
    return o;
}

void Principale::showRecord()
{
    Panels& p = *panels_;
    Menus& m = *menus_;

    p.Image1->hide();
    m.Sauver->setEnabled(true);
    p.Graphique_Chronos->clearReadOut();
    p.Graphique_Chronos->hide();

    document_.analyse(settings_->tables(), viewOptions());
    showHeader(document_.decoded());

    if (document_.kind() == RecordKind::EngineSpeed) {
        showPanels(LapPanel::None, ChartPlace::Chart);
        p.Parametres_Courbe->show();
        p.Parametres_Courbe->raise();
        for (RecordChart* chart : p.Graphique_Record) {
            chart->show();
            chart->raise();
        }
        if (document_.refusal() != Refusal::None) {
            clearLapViews();
            return refuse();
        }
        // Chart 0 last, so that it ends with the keyboard focus.
        for (int g = 2; g >= 0; --g)
            drawRecordChart(g);
    } else {
        m.Unites->menuAction()->setEnabled(true);
        if (document_.refusal() != Refusal::None) {
            clearLapViews();
            return refuse();
        }
        m.Exporter->setEnabled(true);
        p.Parametres_Courbe->hide();
        for (RecordChart* chart : p.Graphique_Record) {
            chart->hide();
            chart->raise();
        }
        showTable();
        Affichage_Table_Click();
        drawLapChartFromStart(*p.Graphique_Chronos, document_, layoutWidth());
    }
    enableRecordMenus();
}

void Principale::showHeader(const DecodedRecord& d)
{
    Panels& p = *panels_;
    p.Serial_Number->setText(d.serialNumber);
    p.Soft_Ver->setText(d.softwareVersionText);
    p.Hard_Ver->setText(d.hardwareVersionText);
    p.Temp_Limite->setText(d.temperatureLimitText);
    p.Frame_Moteurs->setTimes(d.engineTimes);
    p.Nombre_Etapes->setText(d.stageCountText);
    p.Mode->setText(d.modeText);
}

void Principale::clearLapViews()
{
    // A record that shows nothing leaves nothing of the record before it
    // behind the view switches, whose menus keep their availability.
    Panels& p = *panels_;
    p.Liste_Tours->setTable(document_.table());
    p.Graphique_Chronos->setTable(document_.table());
    p.Graphique_Chronos->setEliminatedLaps(document_.eliminatedLaps());
    p.Frame_Tranches->showRanges(RangesPanel{});
    for (RecordChart* chart : p.Graphique_Record)
        chart->clearLap();
}

void Principale::refuse()
{
    services_.dialogs.message(refusalText(document_.refusal(), settings_->tables()), MessageIcon::Information, applicationTitle());
}

void Principale::showLapTable()
{
    if (document_.kind() != RecordKind::LapTiming)
        return;
    document_.rebuildLapTable(settings_->tables(), viewOptions());
    showTable();
}

void Principale::showTable()
{
    fillLapViews(*panels_, document_, layoutWidth(), layoutHeight());
}

void Principale::redrawChart()
{
    LapTimeChart& chart = *panels_->Graphique_Chronos;
    chart.drawLaps(chart.scrollPosition(), document_.chartedColumn());
}

void Principale::Liste_Tours_HeaderClick(int column)
{
    panels_->Graphique_Chronos->hide();
    document_.sortOnColumn(column);
    showTable();
    redrawChart();
}

void Principale::Liste_Tours_LapClick(int lap)
{
    panels_->Graphique_Chronos->hide();
    if (!document_.toggleLap(lap))
        return;
    showLapTable();
    redrawChart();
}

void Principale::Liste_Tours_ChartColumn(int column)
{
    document_.setChartedColumn(column);
    LapTimeChart& chart = *panels_->Graphique_Chronos;
    chart.setChartedColumn(column);
    chart.clearReadOut();
    if (column > LapNumberColumn)
        chart.drawLaps(0, column);
}

void Principale::Picture1_LapToggled(int lap)
{
    if (document_.toggleLap(lap))
        showRecord();
}

void Principale::Affichage_Tours_Click()
{
    fillRanges(*panels_->Frame_Tranches, document_, settings_->tables(), systemDecimalSeparator());
    showPanels(LapPanel::Ranges, ChartPlace::Chart);
    menus_->Unites->menuAction()->setEnabled(false);
}

void Principale::Affichage_Table_Click()
{
    showPanels(LapPanel::Table, ChartPlace::Chart);
    menus_->Unites->menuAction()->setEnabled(true);
}

void Principale::showPanels(LapPanel view, ChartPlace place)
{
    lapPanel_ = view;
    chartPlace_ = place;
    Panels& p = *panels_;
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

// ---- Records ----------------------------------------------------------------

void Principale::Ouvrir_Click()
{
    const QString path = files_.chooseRecord();
    if (!path.isEmpty())
        openRecord(path);
}

void Principale::openRecord(const QString& path)
{
    const std::optional<LoadedRecord> loaded = files_.load(path);
    if (!loaded)
        return;
    // The lap views wait for the record to say what they show.
    showPanels(LapPanel::None, chartPlace_);
    if (loaded->trackNumber) {
        // A number that is no track keeps the current one; nothing is written.
        auto trackNumber = *loaded->trackNumber;
        if (isTrackNumber(trackNumber)) {
            // A record that brings its track along (the shipped examples do) offers it where the user's
            // file gives no lengths; nothing is written without a yes.
            if (const auto beside = trackBesideRecord(path, services_.trackFile, trackNumber)) {
                const QString question = settings_->tables().texts[trackOffered].arg(
                    beside->track.name, beside->trackFile, QFileInfo(services_.trackFile).absoluteFilePath());
                if (services_.dialogs.ask(question, applicationTitle())) {
                    const TrackResult saved = saveTrack(services_.trackFile, trackNumber, beside->track);
                    if (saved.status == TrackStatus::WriteFailed)
                        reportTrackFileFailure(services_.dialogs, track_, settings_->tables(), services_.trackFile, saved.errorText);
                }
            }
            showTrack(trackNumber);
        }
    }
    // A file cut short still opens, its missing bytes zero; the title says so.
    shown_ = recordFromFile(path, serialNumberText(loaded->image), loaded->imageBytes);
    showTitle();
    showRecentFiles();
    document_.open(loaded->image);
    showRecord();
}

void Principale::openRecent(int index)
{
    const QStringList recent = files_.recentFiles();
    if (index < 0 || index >= recent.size())
        return;
    const QString path = recent.at(index);
    if (!QFileInfo::exists(path)) {
        services_.dialogs.message(settings_->tables().texts[recentRecordGone].arg(path), MessageIcon::Information, applicationTitle());
        files_.forgetRecent(path);
        showRecentFiles();
        return;
    }
    openRecord(path);
}

void Principale::showRecentFiles()
{
    const QStringList recent = files_.recentFiles();
    Menus& m = *menus_;
    m.recentSeparator->setVisible(!recent.isEmpty());
    for (int i = 0; i < int(m.Recent.size()); ++i) {
        QAction* action = m.Recent[std::size_t(i)];
        action->setVisible(i < recent.size());
        if (i < recent.size()) {
            setCaption(action, QFileInfo(recent.at(i)).fileName());
            action->setToolTip(recent.at(i));
        }
    }
    m.applyMnemonics();
}

void Principale::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void Principale::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // As if chosen in the open dialog: another kind of file gets its message.
    openRecord(urls.first().toLocalFile());
}

void Principale::Sauver_Click()
{
    const QString path = files_.save(document_.image(), panels_->Frame_Piste->shownNumber());
    if (path.isEmpty())
        return;
    shown_ = recordFromFile(path, serialNumberText(document_.image()), RecordImage::Size);
    showTitle();
    showRecentFiles();
}

void Principale::Commentaire_Click()
{
    files_.Commentaire_Click();
}

void Principale::Exporter_Click()
{
    files_.Exporter_Click(document_);
}

void Principale::Supprimer_Click()
{
    reportNotImplemented();
}

// ---- Tracks -----------------------------------------------------------------

void Principale::showTrack(std::int16_t& trackNumber)
{
    const LoadedTrack loaded = loadTrack(services_.trackFile, trackNumber, newTrackNames(settings_->tables()));
    if (loaded.result.status == TrackStatus::NumberRefused)
        return;
    trackNumber = loaded.number;
    track_.record = loaded.track;
    TrackEditor& editor = *panels_->Frame_Piste;
    editor.showTrack(loaded.track, loaded.number);
    setCaption(menus_->Pistes, loaded.track.name);
    menus_->applyMnemonics();
    if (editor.isVisible())
        editor.focusName();
    if (loaded.result.status == TrackStatus::WriteFailed)
        reportTrackFileFailure(services_.dialogs, track_, settings_->tables(), services_.trackFile, loaded.result.errorText);
}

void Principale::saveShownTrack()
{
    TrackEditor& editor = *panels_->Frame_Piste;
    const std::int16_t number = editor.shownNumber();
    if (!track_.modified || !isTrackNumber(number))
        return;
    // Kept even when the write fails: the track stays modified, and a later save can still write it.
    track_.record = editor.takeEdits();
    const TrackResult saved = saveTrack(services_.trackFile, number, track_.record);
    if (saved.status == TrackStatus::WriteFailed)
        reportTrackFileFailure(services_.dialogs, track_, settings_->tables(), services_.trackFile, saved.errorText);
    else
        track_.modified = false;
}

void Principale::Pistes_Click()
{
    if (chartPlace_ == ChartPlace::TrackEditor) {
        showPanels(lapPanel_, ChartPlace::Chart);
        return;
    }
    showPanels(lapPanel_, ChartPlace::TrackEditor);
    panels_->Frame_Piste->focusName();
}

void Principale::Fermer_Piste_Click()
{
    showPanels(lapPanel_, ChartPlace::Chart);
    saveShownTrack();
    setCaption(menus_->Pistes, track_.record.name);
    menus_->applyMnemonics();
    showLapTable();
}

void Principale::SSCommand2_Click()
{
    stepTrack(-1);
}

void Principale::SSCommand3_Click()
{
    stepTrack(+1);
}

void Principale::stepTrack(int step)
{
    // The editor's texts belong to the track it shows: they are saved under
    // that number, and stepping starts from it, so a track opened with a
    // record is never written under the current track's number.
    TrackEditor& editor = *panels_->Frame_Piste;
    const std::int16_t shown = editor.shownNumber();
    saveShownTrack();
    const int next = shown + step;
    if (isTrackNumber(shown) && isTrackNumber(next)) {
        auto trackNumber = std::int16_t(next);
        showTrack(trackNumber);
        settings_->setCurrentTrack(trackNumber);
    }
    settings_->store();
}

// ---- Engine hours -------------------------------------------------------------

void Principale::Temps_Moteurs_Click()
{
    // The engine hours cover the ranges, not the lap table.
    showPanels(lapPanel_ == LapPanel::Ranges ? LapPanel::None : lapPanel_, ChartPlace::EngineHours);
    menus_->Unites->menuAction()->setEnabled(false);
}

}  // namespace tormel
