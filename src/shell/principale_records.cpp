#include "shell/principale.h"

#include "base/app_info.h"
#include "charts/lap_time_chart.h"
#include "config/background_file.h"
#include "config/error_log.h"
#include "config/settings.h"
#include "laps/export.h"
#include "laps/lap_grid.h"
#include "laps/ranges.h"
#include "laps/ranges_view.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "record/engine_hours_panel.h"
#include "record/record_file.h"
#include "shell/menus.h"
#include "shell/panels.h"
#include "texts/language_files.h"
#include "tracks/track_editor.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace tormel {

// ---- The decoder road and the lap views ------------------------------------

void Principale::Affiche_Data()
{
    Panels& p = *panels_;
    Menus& m = *menus_;
    RecordState& r = record_;
    const auto& textes = state_.tables.Textes;

    p.Image1->hide();
    m.Sauver->setEnabled(true);
    p.Graphique_Chronos->Label12()->clear();
    p.Graphique_Chronos->hide();

    r.decoded = decodeRecord(r.Data_Chrono, textes[19]);
    const DecodedRecord& d = r.decoded;
    p.Serial_Number->setText(d.Serial_Number);
    p.Soft_Ver->setText(d.Soft_Ver);
    p.Hard_Ver->setText(d.Hard_Ver);
    p.Temp_Limite->setText(d.Temp_Limite);
    p.Frame_Moteurs->setTimes(d.Ltmot);
    p.Nombre_Etapes->setText(d.Nombre_Etapes);
    p.Mode->setText(d.Mode);

    if (d.Mode_Enregistrement == ModeEnregistrement::Rpm) {
        state_.Mode_Enregistrement = 2;
        p.Liste_Tours->hide();
        p.Parametres_Courbe->raise();
        for (const Panels::RecordChart& chart : p.Graphique_Record) {
            chart.frame->show();
            chart.frame->raise();
        }
        if (d.Nombre_Echantillons < 10) {
            services_.dialogs.message(QStringLiteral("No Data Available"), MessageIcon::Information, applicationTitle());
            return;
        }
        *r.rpm = Compute_Rpm(r.Data_Chrono, d, state_.filterLevel);
        r.Tour_Graphique = toursGraphiques(*r.rpm);
        // The engine-speed traces of the three laps are drawn by their charts.
    } else {
        state_.Mode_Enregistrement = 1;
        m.Unites->menuAction()->setEnabled(true);
        if (d.nTours <= 0) {
            services_.dialogs.message(textes[20], MessageIcon::Information, applicationTitle());
            return;
        }
        m.Exporter->setEnabled(true);
        p.Parametres_Courbe->hide();
        for (const Panels::RecordChart& chart : p.Graphique_Record) {
            chart.frame->hide();
            chart.frame->raise();
        }
        Affiche_Tours();
        Affichage_Table_Click();
        r.chartWindow = lapChartWindow(d.nTours, services_.screen.widthTwips());
        p.Graphique_Chronos->setChartWindow(r.chartWindow);
        p.Graphique_Chronos->Affiche_New_Graphique(0, r.Colonne_Graphique);
    }
    Autorisation_Menu();
}

void Principale::Affiche_Tours()
{
    if (state_.Mode_Enregistrement != 1)
        return;
    RecordState& r = record_;
    LapTableOptions options;
    options.Distances = panels_->Frame_Piste->state().fiche.Distances;
    options.Choix_Vitesse = state_.Choix_Vitesse;
    options.Choix_Temp = state_.Choix_Temp;
    options.uniteVitesse = caption(menus_->Unite_Vitesse[std::size_t(state_.Choix_Vitesse)]);
    options.uniteTemp = caption(menus_->Unite_Temp[std::size_t(state_.Choix_Temp)]);
    options.Tour_Elimine = r.Tour_Elimine;
    options.Colonne_Tri = r.Colonne_Tri;
    options.Ligne_Tri = r.Ligne_Tri;
    options.decimalSeparator = systemDecimalSeparator();
    r.table = tormel::Affiche_Tours(r.Data_Chrono, r.decoded, state_.tables, options);
    showTable();
}

void Principale::showTable()
{
    Panels& p = *panels_;
    p.Liste_Tours->setTable(record_.table);
    p.sizeTableAndChart(services_.screen.widthTwips(), services_.screen.heightTwips());
    p.Graphique_Chronos->setTable(record_.table);
    p.Graphique_Chronos->setTourElimine(record_.Tour_Elimine);
}

void Principale::redrawChart()
{
    LapTimeChart& chart = *panels_->Graphique_Chronos;
    chart.Affiche_New_Graphique(chart.scrollPosition(), record_.Colonne_Graphique);
}

void Principale::Liste_Tours_HeaderClick(int column)
{
    panels_->Graphique_Chronos->hide();
    record_.Ligne_Tri = 0;
    record_.Colonne_Tri = sortColumnFor(column);
    Triage(record_.table, record_.Colonne_Tri, record_.Ligne_Tri);
    showTable();
    redrawChart();
}

void Principale::Liste_Tours_LapClick(int lap)
{
    panels_->Graphique_Chronos->hide();
    if (lap < 0 || lap >= TourElimineCount)
        return;
    record_.Tour_Elimine[std::size_t(lap)] = !record_.Tour_Elimine[std::size_t(lap)];
    Affiche_Tours();
    redrawChart();
}

void Principale::Liste_Tours_ChartColumn(int column)
{
    record_.Colonne_Graphique = column;
    LapTimeChart& chart = *panels_->Graphique_Chronos;
    chart.setColonneGraphique(column);
    chart.Label12()->clear();
    if (column > 0)
        chart.Affiche_New_Graphique(0, column);
}

void Principale::Picture1_LapToggled(int lap)
{
    if (lap < 0 || lap >= TourElimineCount)
        return;
    record_.Tour_Elimine[std::size_t(lap)] = !record_.Tour_Elimine[std::size_t(lap)];
    Affiche_Data();
}

void Principale::Affichage_Tours_Click()
{
    Panels& p = *panels_;
    p.Frame_Tranches->setDecimalSeparator(systemDecimalSeparator());
    p.Frame_Tranches->Affiche_Tranches(tormel::Affiche_Tranches(record_.Data_Chrono, state_.tables));
    p.Frame_Piste->hide();
    p.Liste_Tours->hide();
    p.Frame_Moteurs->hide();
    p.Frame_Tranches->raise();
    p.Frame_Tranches->show();
    menus_->Unites->menuAction()->setEnabled(false);
}

void Principale::Affichage_Table_Click()
{
    Panels& p = *panels_;
    p.Frame_Piste->hide();
    p.Frame_Tranches->hide();
    p.Frame_Moteurs->hide();
    p.Liste_Tours->show();
    menus_->Unites->menuAction()->setEnabled(true);
}

// ---- Records ----------------------------------------------------------------

namespace {

const FileFilter recordFilter{QStringLiteral("Tml (*.Tml"), QStringLiteral("*.Tml")};

// Linux file names keep their case: the open dialog offers every spelling.
const FileFilter recordOpenFilter{QStringLiteral("Tml (*.Tml"), QStringLiteral("*.Tml *.tml *.TML")};

}  // namespace

void Principale::Ouvrir_Click()
{
    FileDialogRequest request;
    request.initialFolder = services_.programFolder;
    request.defaultExtension = QStringLiteral("Tml");
    request.filter = recordOpenFilter;
    const QString path = services_.dialogs.openFile(request);
    if (path.isEmpty())
        return;
    ouvrirRecord(path);
}

void Principale::ouvrirRecord(const QString& path)
{
    if (path.right(3).compare(QLatin1String("Tml"), Qt::CaseInsensitive) != 0) {
        services_.dialogs.message(QStringLiteral("File Extension Error"), MessageIcon::Information, applicationTitle());
        return;
    }
    RecordState& r = record_;
    panels_->Liste_Tours->hide();
    const LoadedRecord loaded = Charge_Fichier(path);
    r.Data_Chrono = loaded.image;
    if (loaded.errorNumber != 0)
        services_.dialogs.message(QStringLiteral("Erreur") + QString::number(loaded.errorNumber), MessageIcon::Critical,
                                  applicationTitle());
    if (loaded.trackNumber) {
        // A number that is no track keeps the current one; nothing is written.
        auto numero = *loaded.trackNumber;
        if (isTrackNumber(numero))
            lireTrack(numero);
    }
    setWindowTitle(recordCaption(path, serialNumberText(r.Data_Chrono)));
    const RecordNames names = Nommer_Commentaire(path);
    r.Nom_Record = names.Nom_Record;
    r.Fichier_Commentaire = names.Fichier_Commentaire;
    r.Tour_Elimine.fill(false);
    r.Colonne_Graphique = 13;
    Affiche_Data();
}

void Principale::Sauver_Click()
{
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("Tml");
    request.filter = recordFilter;
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(services_.dialogs.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    if (path.right(3) != QLatin1String("Tml")) {
        services_.dialogs.message(QStringLiteral("File Extension Error"), MessageIcon::Information, applicationTitle());
        return;
    }
    QString error;
    if (!Sauve_Fichier(path, record_.Data_Chrono, panels_->Frame_Piste->numeroAffiche(), &error)) {
        services_.dialogs.message(QStringLiteral("The record could not be saved to %1: %2").arg(path, error),
                                  MessageIcon::Critical, applicationTitle());
        return;
    }
    setWindowTitle(recordCaption(path, serialNumberText(record_.Data_Chrono)));
    const RecordNames names = Nommer_Commentaire(path);
    record_.Nom_Record = names.Nom_Record;
    record_.Fichier_Commentaire = names.Fichier_Commentaire;
}

void Principale::Commentaire_Click()
{
    const QString& path = record_.Fichier_Commentaire;
    if (path.isEmpty())
        return;  // no record opened or saved yet: no comment file to edit
    if (!QFileInfo::exists(path)) {
        // The desktop's editors open existing files only.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            services_.dialogs.message(QStringLiteral("The comment file %1 could not be created: %2").arg(path, file.errorString()),
                                      MessageIcon::Critical, applicationTitle());
            return;
        }
    }
    if (!services_.launcher.startEditor(path))
        services_.dialogs.message(editorNotFoundText(), MessageIcon::Critical, shortCaption());
}

void Principale::Exporter_Click()
{
    // A record whose decode stopped early has nothing on screen to export;
    // the menu may still be enabled from the record before it.
    const DecodedRecord& d = record_.decoded;
    if (state_.Mode_Enregistrement == 2 && d.Nombre_Echantillons < 10) {
        services_.dialogs.message(QStringLiteral("No Data Available"), MessageIcon::Information, applicationTitle());
        return;
    }
    if (state_.Mode_Enregistrement == 1 && d.nTours <= 0) {
        services_.dialogs.message(state_.tables.Textes[20], MessageIcon::Information, applicationTitle());
        return;
    }
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("xls");
    request.filter = {QStringLiteral("xls (*.xls"), QStringLiteral("*.xls")};
    request.proposedName = record_.Nom_Record + QStringLiteral(".xls");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(services_.dialogs.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    if (!hasXlsExtension(path)) {
        services_.dialogs.message(state_.tables.Textes[13], MessageIcon::Information, applicationTitle());
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray bytes = state_.Mode_Enregistrement == 2
        ? exportRpm(record_.Data_Chrono, record_.decoded, *record_.rpm, state_.tables, now)
        : exportLapTable(record_.table, now);
    if (const auto error = writeExport(path, bytes))
        services_.dialogs.message(QStringLiteral("The export could not be written to %1: %2").arg(path, *error),
                                  MessageIcon::Critical, applicationTitle());
}

void Principale::Supprimer_Click()
{
    Pas_Implemente();
}

// ---- Tracks -----------------------------------------------------------------

void Principale::lireTrack(std::int16_t& numero)
{
    const TrackResult read = Lire_Piste(numero, panels_->Frame_Piste->state(), *panels_->Frame_Piste,
                                        panels_->Frame_Piste->decimalSeparator());
    if (read.status == TrackStatus::WriteFailed)
        reportWriteFailure(trackFileName, read.errorText);
}

void Principale::sauverPisteAffichee()
{
    TrackEditor& editor = *panels_->Frame_Piste;
    if (!editor.state().Piste_Modifiee)
        return;
    const TrackResult saved = Sauve_Piste(editor.numeroAffiche(), editor.state(), editor, editor.decimalSeparator());
    if (saved.status == TrackStatus::WriteFailed)
        reportWriteFailure(trackFileName, saved.errorText);
}

void Principale::Pistes_Click()
{
    Panels& p = *panels_;
    p.Frame_Moteurs->hide();
    if (!p.Frame_Piste->isHidden()) {
        p.Frame_Piste->hide();
        return;
    }
    p.Frame_Piste->move(p.Graphique_Chronos->pos());
    p.Frame_Piste->raise();
    p.Frame_Piste->show();
    p.Frame_Piste->focusName();
}

void Principale::Fermer_Piste_Click()
{
    TrackEditor& editor = *panels_->Frame_Piste;
    setCaption(menus_->Pistes, editor.fieldText(0));
    editor.hide();
    sauverPisteAffichee();
    Affiche_Tours();
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
    const std::int16_t shown = editor.numeroAffiche();
    sauverPisteAffichee();
    const int next = shown + step;
    if (isTrackNumber(shown) && isTrackNumber(next)) {
        auto numero = std::int16_t(next);
        editor.setTrackNumberCaption(QString::number(numero));
        lireTrack(numero);
        state_.Piste_Courante = numero;
    }
    Sauve_System();
}

// ---- Engine hours -------------------------------------------------------------

void Principale::Temps_Moteurs_Click()
{
    Panels& p = *panels_;
    p.Frame_Moteurs->move(p.Graphique_Chronos->pos());
    p.Frame_Piste->hide();
    p.Frame_Tranches->hide();
    p.Frame_Moteurs->raise();
    p.Frame_Moteurs->show();
    menus_->Unites->menuAction()->setEnabled(false);
}

}  // namespace tormel
