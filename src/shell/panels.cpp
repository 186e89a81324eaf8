#include "shell/panels.h"

#include "charts/chart_layout.h"
#include "charts/lap_time_chart.h"
#include "laps/lap_grid.h"
#include "laps/lap_views_layout.h"
#include "laps/ranges_view.h"
#include "record/engine_hours_panel.h"
#include "shell/title_card.h"
#include "tracks/track_editor.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace tormel {

namespace {

template <typename T>
T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

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

QString indexed(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
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

    for (int g = 0; g < 3; ++g) {
        RecordChart& c = Graphique_Record[std::size_t(g)];
        c.frame = frame(central, indexed("Graphique_Record", g));
        c.Crpm = named(new QWidget(c.frame), indexed("Crpm", g));
        c.Ctr = named(new QWidget(c.frame), indexed("Ctr", g));
        c.SSFrame3 = named(new QGroupBox(c.frame), indexed("SSFrame3", g));
        c.Label19 = label(c.frame, indexed("Label19", g));
        c.Label20 = label(c.frame, indexed("Label20", g));
        c.Label21 = label(c.frame, indexed("Label21", g));
        c.Label22 = label(c.frame, indexed("Label22", g));
        c.Label23 = label(c.frame, indexed("Label23", g));
        c.Label24 = label(c.frame, indexed("Label24", g));
        c.Rpm_Inst = label(c.frame, indexed("Rpm_Inst", g));
        c.Rpm_L = label(c.frame, indexed("Rpm_L", g));
        c.Rpm_R = label(c.frame, indexed("Rpm_R", g));
    }
    Parametres_Courbe = frame(central, QStringLiteral("Parametres_Courbe"));

    Frame_Piste = new TrackEditor(central);
    Frame_Moteurs = new EngineHoursPanel(central);

    Frame_Lecture_Pro = frame(central, QStringLiteral("Frame_Lecture_Pro"));
    Command3D1 = named(new QPushButton(QStringLiteral("Start Scan"), Frame_Lecture_Pro), QStringLiteral("Command3D1"));
    Fermer_Scan = named(new QPushButton(Frame_Lecture_Pro), QStringLiteral("Fermer_Scan"));
    Label4 = label(Frame_Lecture_Pro, QStringLiteral("Label4"));

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
    for (const RecordChart& chart : Graphique_Record)
        makeOpaque(chart.frame);

    Image1 = label(central, QStringLiteral("Image1"));
    Image1->hide();
    Picture2 = label(central, QStringLiteral("Picture2"));
    Picture2->setPixmap(titleCard());
    Picture2->resize(Picture2->pixmap().size());
    Picture2->setCursor(Qt::PointingHandCursor);
    Label1 = label(Picture2, QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
}

void Panels::layOut(int screenWidth, int screenHeight)
{
    // The lap table at the top-left corner; the chart under it.
    placeTwips(Liste_Tours, tableToursInitial(screenWidth, screenHeight));
    Graphique_Chronos->Size_Graphique_Chronos(screenWidth, screenHeight, twipsGeometry(Liste_Tours).height);
    const TwipsRect chronosFrame = twipsGeometry(Graphique_Chronos);
    Frame_Tranches->Size_Tranches(screenWidth, screenHeight);

    const auto records = sizeGraphiqueRecord(screenWidth, screenHeight);
    for (int g = 0; g < 3; ++g) {
        const RecordChart& c = Graphique_Record[std::size_t(g)];
        const TwipsRect f = records[std::size_t(g)];
        placeTwips(c.frame, f);
        // The left column holds the read-outs; the trace and its histogram follow.
        const int x0 = 2400;
        const int y0 = 240;
        const int crpmWidth = int(0.75 * screenWidth) - x0;
        placeTwips(c.Crpm, {x0, y0, std::max(0, crpmWidth), std::max(0, f.height - 360)});
        const int x1 = x0 + crpmWidth + 200;
        placeTwips(c.Ctr, {x1, y0, std::max(0, screenWidth - x1 - 320), std::max(0, f.height - 360)});
        QLabel* column[] = {c.Label19, c.Label20, c.Rpm_Inst, c.Label21, c.Rpm_L, c.Label22, c.Rpm_R, c.Label23, c.Label24};
        int top = y0;
        for (QLabel* l : column) {
            placeTwips(l, {120, top, x0 - 240, LabelHeightTwips});
            top += LabelHeightTwips;
        }
        placeTwips(c.SSFrame3, {120, top, x0 - 240, 2 * LabelHeightTwips});
    }

    // The track editor opens in the place of the lap-time chart.
    const TwipsRect piste{chronosFrame.left, chronosFrame.top, 9000, 3900};
    placeTwips(Frame_Piste, piste);
    Frame_Piste->layOut(piste.width, piste.height);

    TwipsRect parametres = twipsGeometry(Parametres_Courbe);
    placeTwips(Parametres_Courbe, {piste.left, piste.top, piste.width, std::max(parametres.height, 1200)});

    Frame_Moteurs->Size_Frame_Moteurs(piste);

    placeTwips(Frame_Lecture_Pro, {chronosFrame.left, chronosFrame.top, 6000, 2400});
    placeTwips(Command3D1, {240, 360, 2400, ButtonHeightTwips});
    placeTwips(Fermer_Scan, {3000, 360, ButtonWidthTwips, ButtonHeightTwips});
    placeTwips(Label4, {240, 960, 5000, LabelHeightTwips});

    // The start-up picture in the middle of the screen, the version at its top.
    const TwipsRect picture = centred(screenWidth, screenHeight, Picture2->width() * TwipsPerPixel, Picture2->height() * TwipsPerPixel);
    placeTwips(Picture2, picture);
    Label1->adjustSize();
    Label1->move((Picture2->width() - Label1->width()) / 2, 0);
    Picture2->raise();
}

void Panels::sizeTableAndChart(int screenWidth, int screenHeight)
{
    const TwipsRect table = Liste_Tours->Size_Table_Tours(screenWidth, screenHeight);
    Graphique_Chronos->Size_Graphique_Chronos(screenWidth, screenHeight, table.height);
}

}  // namespace tormel
