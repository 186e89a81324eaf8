#pragma once

#include "base/widget_twips.h"

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QWidget;

namespace tormel {

class DownloadPanel;
class EngineHoursPanel;
class LapGrid;
class LapTimeChart;
class RangesView;
class RecordChart;
class SmoothingPanel;
class TextsPanel;
class TrackEditor;

// The window's panels, by their domain names, and where each one goes. The
// behaviour of a panel belongs to its own class and subsystem.
struct Panels {
    explicit Panels(QWidget* central);

    // Lap table, lap-time chart, engine-speed ranges and the record's serial number.
    LapGrid* Liste_Tours;
    LapTimeChart* Graphique_Chronos;
    RangesView* Frame_Tranches;
    QLabel* Serial_Number_Caption;
    QLabel* Serial_Number;

    // The three engine-speed charts and the smoothing parameters.
    std::array<RecordChart*, 3> Graphique_Record;
    SmoothingPanel* Parametres_Courbe;

    // Engine hours and the track editor, which open in the place of the chart.
    EngineHoursPanel* Frame_Moteurs;
    TrackEditor* Frame_Piste;

    DownloadPanel* Frame_Lecture_Pro;

    // Diagnostic read-outs, never shown.
    QGroupBox* Frame_Debug;
    QLabel* Mode;
    QLabel* Soft_Ver;
    QLabel* Hard_Ver;
    QLabel* Temp_Limite;
    QLabel* Nombre_Etapes;

    // Start-up picture, which is also the about box, and the background.
    QLabel* Picture2;
    QLabel* Label1;
    QLabel* Image1;

    // Every panel that shows texts of the tables.
    std::vector<TextsPanel*> textsPanels() const;

    // Lays the panels out for a screen of the given size, in the start-up order.
    void layOut(int screenWidth, int screenHeight);
    // The lap table sized to its contents, and the chart under it.
    void sizeTableAndChart(int screenWidth, int screenHeight);
};

}  // namespace tormel
