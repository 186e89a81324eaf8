#include "shell/panels.h"

#include "base/named.h"
#include "charts/chart_layout.h"
#include "charts/lap_time_chart.h"
#include "charts/record_chart.h"
#include "charts/smoothing_panel.h"
#include "download/download_panel.h"
#include "laps/lap_grid.h"
#include "laps/lap_views_layout.h"
#include "laps/ranges_view.h"
#include "record/engine_hours_panel.h"
#include "shell/title_card.h"
#include "tracks/track_editor.h"

#include <QGroupBox>
#include <QLabel>

namespace tormel {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString())
{
    return named(new QLabel(text, parent), name);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title = QString())
{
    auto* box = named(new QGroupBox(title, parent), name);
    box->hide();
    return box;
}

// Panels that open over one another hide what lies beneath them.
void makeOpaque(QWidget* panel)
{
    panel->setAutoFillBackground(true);
}

}  // namespace

Panels::Panels(QWidget* central)
{
    Liste_Tours = named(new LapGrid(central), QStringLiteral("Liste_Tours"));
    Liste_Tours->hide();
    Serial_Number_Caption = label(central, QStringLiteral("Serial_Number_Caption"), QStringLiteral("N° de Série : "));
    Serial_Number = label(central, QStringLiteral("Serial_Number"));

    Graphique_Chronos = named(new LapTimeChart(central), QStringLiteral("Graphique_Chronos"));
    Graphique_Chronos->hide();
    Frame_Tranches = named(new RangesView(central), QStringLiteral("Frame_Tranches"));
    Frame_Tranches->hide();

    for (int g = 0; g < 3; ++g)
        Graphique_Record[std::size_t(g)] = new RecordChart(central, g);
    Parametres_Courbe = new SmoothingPanel(central);

    Frame_Piste = new TrackEditor(central);
    Frame_Moteurs = new EngineHoursPanel(central);

    Frame_Lecture_Pro = new DownloadPanel(central);

    Frame_Debug = frame(central, QStringLiteral("Frame_Debug"));
    Mode = label(Frame_Debug, QStringLiteral("Mode"));
    Soft_Ver = label(Frame_Debug, QStringLiteral("Soft_Ver"));
    Hard_Ver = label(Frame_Debug, QStringLiteral("Hard_Ver"));
    Temp_Limite = label(Frame_Debug, QStringLiteral("Temp_Limite"));
    Nombre_Etapes = label(Frame_Debug, QStringLiteral("Nombre_Etapes"));

    for (QWidget* panel : {static_cast<QWidget*>(Frame_Tranches), static_cast<QWidget*>(Frame_Moteurs),
                           static_cast<QWidget*>(Frame_Piste), static_cast<QWidget*>(Parametres_Courbe),
                           static_cast<QWidget*>(Frame_Lecture_Pro), static_cast<QWidget*>(Graphique_Chronos)})
        makeOpaque(panel);
    for (RecordChart* chart : Graphique_Record)
        makeOpaque(chart);

    Image1 = label(central, QStringLiteral("Image1"));
    Image1->hide();
    Picture2 = label(central, QStringLiteral("Picture2"));
    Picture2->setPixmap(titleCard(QString()));
    Picture2->resize(Picture2->pixmap().size());
    Picture2->setCursor(Qt::PointingHandCursor);
    Label1 = label(Picture2, QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
}

std::vector<TextsPanel*> Panels::textsPanels() const
{
    return {Liste_Tours, Graphique_Chronos, Frame_Tranches, Graphique_Record[0], Graphique_Record[1],
            Graphique_Record[2], Frame_Moteurs, Frame_Piste, Frame_Lecture_Pro};
}

void Panels::layOut(int screenWidth, int screenHeight)
{
    // The lap table at the top-left corner; the chart under it.
    placeTwips(Liste_Tours, initialLapTableRect(screenWidth, screenHeight));
    Graphique_Chronos->layOut(screenWidth, screenHeight, twipsGeometry(Liste_Tours).height);
    const TwipsRect lapChartFrame = twipsGeometry(Graphique_Chronos);
    Frame_Tranches->layOut(screenWidth, screenHeight);

    const auto records = recordChartFrames(screenWidth, screenHeight);
    for (int g = 0; g < 3; ++g)
        Graphique_Record[std::size_t(g)]->layOut(records[std::size_t(g)], screenWidth);

    // The track editor opens in the place of the lap-time chart.
    const TwipsRect trackEditorFrame{lapChartFrame.left, lapChartFrame.top, 9000, 3900};
    placeTwips(Frame_Piste, trackEditorFrame);
    Frame_Piste->layOut(trackEditorFrame.width, trackEditorFrame.height);

    // The curve parameters under the three engine-speed charts, which
    // cover the place of the lap-time chart.
    Parametres_Courbe->layOut({0, records[2].top + records[2].height, 4800, 600});

    Frame_Moteurs->layOut(trackEditorFrame);

    Frame_Lecture_Pro->layOut(lapChartFrame);

    // The start-up picture in the middle of the screen, the version at its top.
    const TwipsRect picture = centred(screenWidth, screenHeight, Picture2->width() * TwipsPerPixel, Picture2->height() * TwipsPerPixel);
    placeTwips(Picture2, picture);
    Label1->adjustSize();
    Label1->move((Picture2->width() - Label1->width()) / 2, 0);
    Picture2->raise();
}

void Panels::sizeTableAndChart(int screenWidth, int screenHeight)
{
    const TwipsRect table = Liste_Tours->layOut(screenWidth, screenHeight);
    Graphique_Chronos->layOut(screenWidth, screenHeight, table.height);
}

}  // namespace tormel
