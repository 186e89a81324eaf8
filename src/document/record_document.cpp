#include "document/record_document.h"

#include "laps/export.h"

namespace tormel {

namespace {

// A record under this many samples has no usable data.
constexpr int MinimumSamples = 10;
constexpr int SubstituteMaximum = 10000;

}  // namespace

QString refusalText(Refusal refusal, const TextTables& tables)
{
    switch (refusal) {
    case Refusal::NoLap:
        return tables.Textes[20];
    case Refusal::TooFewSamples:
        return QStringLiteral("No Data Available");
    case Refusal::None:
        break;
    }
    return QString();
}

RecordDocument::RecordDocument()
    : rpm_(std::make_unique<RpmStatistics>())
{
}

void RecordDocument::open(const RecordImage& image)
{
    image_ = image;
    tourElimine_.fill(false);
    colonneGraphique_ = 13;
}

void RecordDocument::Affiche_Data(const TextTables& tables, const ViewOptions& options)
{
    shown_ = true;
    // Nothing of the record before survives into one that shows nothing.
    table_ = LapTable{};
    decoded_ = decodeRecord(image_, tables.Textes[19]);
    if (decoded_.kind == RecordKind::EngineSpeed) {
        kind_ = RecordKind::EngineSpeed;
        refusal_ = decoded_.Nombre_Echantillons < MinimumSamples ? Refusal::TooFewSamples : Refusal::None;
        if (refusal_ != Refusal::None)
            return;
        *rpm_ = Compute_Rpm(image_, decoded_, options.filterLevel);
        tourGraphique_ = toursGraphiques(*rpm_);
    } else {
        kind_ = RecordKind::LapTiming;
        refusal_ = decoded_.nTours <= 0 ? Refusal::NoLap : Refusal::None;
        if (refusal_ != Refusal::None)
            return;
        Affiche_Tours(tables, options);
    }
}

void RecordDocument::Affiche_Tours(const TextTables& tables, const ViewOptions& options)
{
    if (kind_ != RecordKind::LapTiming)
        return;
    distances_ = options.Distances;
    LapTableOptions o;
    o.Distances = options.Distances;
    o.Choix_Vitesse = options.Choix_Vitesse;
    o.Choix_Temp = options.Choix_Temp;
    o.uniteVitesse = options.uniteVitesse;
    o.uniteTemp = options.uniteTemp;
    o.Tour_Elimine = tourElimine_;
    o.Colonne_Tri = colonneTri_;
    o.Ligne_Tri = ligneTri_;
    o.decimalSeparator = options.decimalSeparator;
    table_ = tormel::Affiche_Tours(image_, decoded_, tables, o);
}

void RecordDocument::sortOnColumn(int gridColumn)
{
    ligneTri_ = 0;
    colonneTri_ = sortColumnFor(gridColumn);
    Triage(table_, colonneTri_, ligneTri_);
}

bool RecordDocument::toggleLap(int lap)
{
    if (lap < 0 || lap >= TourElimineCount)
        return false;
    tourElimine_[std::size_t(lap)] = !tourElimine_[std::size_t(lap)];
    return true;
}

void RecordDocument::setTourGraphique(int g, int lap)
{
    if (g >= 0 && g < 3)
        tourGraphique_[std::size_t(g)] = lap;
}

bool RecordDocument::substituteRpmMax()
{
    if (rpm_->Rpm_Max != 0)
        return false;
    rpm_->Rpm_Max = SubstituteMaximum;
    return true;
}

bool RecordDocument::substituteHistoMax(int lap)
{
    if (lap < 0 || lap >= RpmStatistics::LapSlots || rpm_->Histo_Max[std::size_t(lap)] != 0)
        return false;
    rpm_->Histo_Max[std::size_t(lap)] = SubstituteMaximum;
    return true;
}

QByteArray exportRecord(const RecordDocument& document, const TextTables& tables, const QDateTime& now)
{
    if (document.kind() == RecordKind::EngineSpeed)
        return exportRpm(document.image(), document.decoded(), document.rpm(), tables, now);
    return exportLapTable(document.table(), now);
}

}  // namespace tormel
