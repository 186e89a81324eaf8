#pragma once

#include "base/widget_twips.h"

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tormel {

class EngineHoursPanel;
class LapGrid;
class LapTimeChart;
class RangesView;
class TrackEditor;

// The controls of the window's panels, by their domain names. Each panel is
// laid out here at its place; the behaviour of a panel belongs to its own
// subsystem and fills these controls.
struct Panels {
    explicit Panels(QWidget* central);

    // Lap table, lap-time chart, engine-speed ranges and the record's serial number.
    LapGrid* Liste_Tours;
    LapTimeChart* Graphique_Chronos;
    RangesView* Frame_Tranches;
    QLabel* Serial_Number_Caption;
    QLabel* Serial_Number;

    // The three engine-speed charts and the smoothing parameters.
    struct RecordChart {
        QGroupBox* frame;
        QWidget* Crpm;
        QWidget* Ctr;
        QGroupBox* SSFrame3;
        QLabel* Label19;
        QLabel* Label20;
        QLabel* Label21;
        QLabel* Label22;
        QLabel* Label23;
        QLabel* Label24;
        QLabel* Rpm_Inst;
        QLabel* Rpm_L;
        QLabel* Rpm_R;
    };
    std::array<RecordChart, 3> Graphique_Record;
    QGroupBox* Parametres_Courbe;

    // Engine hours and the track editor, which open in the place of the chart.
    EngineHoursPanel* Frame_Moteurs;
    TrackEditor* Frame_Piste;

    // Download panel.
    QGroupBox* Frame_Lecture_Pro;
    QPushButton* Command3D1;
    QPushButton* Fermer_Scan;
    QLabel* Label4;

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

    // Lays the panels out for a screen of the given size, in the start-up order.
    void layOut(int screenWidth, int screenHeight);
    // The lap table sized to its contents, and the chart under it.
    void sizeTableAndChart(int screenWidth, int screenHeight);
};

}  // namespace tormel
