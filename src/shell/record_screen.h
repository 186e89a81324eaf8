#pragma once

#include "document/record_document.h"
#include "tracks/track_file.h"

#include <QObject>
#include <QSize>

class QWidget;

namespace tormel {

class Dialogs;
class SettingsController;
struct Menus;
struct Panels;

// What the place of the lap views shows: the lap table, the engine-speed
// ranges, or neither (an engine-speed record, a record not yet shown).
enum class LapPanel { None, Table, Ranges };
// Which panel holds the lap-time chart's place: the chart, or the track
// editor or the engine hours opened over it.
enum class ChartPlace { Chart, TrackEditor, EngineHours };

// The record on screen: the document decoded for the user's choices, the lap
// views and engine-speed charts it fills, the panels stacked over the chart
// and the menus that depend on the record. It owns no widget; the views'
// handlers live here, under their names.
class RecordScreen final : public QObject {
    Q_OBJECT
public:
    // `window` gives the layout's screen; `track` is the track shown, whose
    // lengths the speeds follow.
    RecordScreen(const QWidget& window, Panels& panels, Menus& menus, SettingsController& settings,
                 const TrackState& track, Dialogs& dialogs, QObject* parent = nullptr);

    RecordDocument& document() { return document_; }
    int filterLevel() const { return filterLevel_; }
    LapPanel lapPanel() const { return lapPanel_; }
    ViewOptions viewOptions() const;

    // The one road from the record image to the screen.
    void showRecord();
    // The lap table built again for the track or the units, keeping the decode.
    void showLapTable();
    // The one place where the lap views and the panels over the chart are
    // shown, hidden and stacked; `place` defaults to the one shown.
    void showPanels(LapPanel view, ChartPlace place);
    void showPanels(LapPanel view) { showPanels(view, chartPlace_); }
    // The panels laid out again for the window's size, without decoding.
    void relayOut();
    // Menu availability for the kind of record shown.
    void enableRecordMenus();

    // The lap table's mouse: sort by a header, eliminate or restore a lap,
    // choose the charted column. A click on a bar of the chart.
    void Liste_Tours_HeaderClick(int column);
    void Liste_Tours_LapClick(int lap);
    void Liste_Tours_ChartColumn(int column);
    void Picture1_LapToggled(int lap);
    void Affichage_Table_Click();
    void Affichage_Tours_Click();
    void Temps_Moteurs_Click();
    // The track menu opens the track editor over the chart, or closes it.
    void Pistes_Click();
    // The engine-speed charts' previous and next lap buttons.
    void SSCommand4_Click(int g);
    void SSCommand5_Click(int g);
    // Smoothing: the menu, and the level (UpDown1), which decodes again.
    void Filtre_Click(int index);
    void UpDown1_Change(int level);

signals:
    // A condition that should never happen, by its code.
    void unexpectedError(const QString& code);
    void filterLevelChanged(int level);

private:
    void connectPanels();
    // The layout rules' "screen": the window's inner size (menu bar included), in twips.
    QSize screen() const;
    void refuse();
    // Lap document_.chartedLaps()[g] in engine-speed chart g.
    void drawRecordChart(int g);

    const QWidget& window_;
    Panels& panels_;
    Menus& menus_;
    SettingsController& settings_;
    const TrackState& track_;
    Dialogs& dialogs_;
    RecordDocument document_;
    int filterLevel_ = 0;
    LapPanel lapPanel_ = LapPanel::None;
    ChartPlace chartPlace_ = ChartPlace::Chart;
};

}  // namespace tormel
