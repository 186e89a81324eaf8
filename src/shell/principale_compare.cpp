// Laps of several sessions side by side.
#include "base/app_info.h"
#include "config/user_settings.h"
#include "library/library_model.h"
#include "platform/dialogs.h"
#include "shell/comparison_window.h"
#include "shell/menus.h"
#include "shell/principale.h"
#include "shell/settings_controller.h"

#include <QFileInfo>

namespace tormel {

namespace {

// A file of the session the library lists, one still there.
QString libraryPathOf(const LibraryModel& model, const QString& identity)
{
    for (int r = 0; r < model.rowCount(); ++r) {
        const Session& s = model.row(r).session;
        if (s.identity == identity)
            return s.presentFile();
    }
    return {};
}

// Why laps cannot be compared, in the chosen language.
QString failureText(const ComparisonFailure& failure, const TextTables& tables)
{
    switch (failure.kind) {
    case ComparisonFailure::Kind::None: break;
    case ComparisonFailure::Kind::Unreadable: return tables.texts[compareUnreadable].arg(failure.path, failure.detail);
    case ComparisonFailure::Kind::Refused:
        return QStringLiteral("%1: %2").arg(failure.path, refusalText(failure.refusal, tables));
    case ComparisonFailure::Kind::NoSuchLap: return tables.texts[compareNoSuchLap].arg(failure.path).arg(failure.lap);
    }
    return {};
}

}  // namespace

void Principale::Comparer_Click()
{
    const QString path = comparedPathOf(shown_);
    if (path.isEmpty()) {
        services_.dialogs.message(settings_->tables().texts[downloadKeptNowhere], MessageIcon::Information, applicationTitle());
        return;
    }
    chooseLapsToCompare(path);
}

void Principale::chooseLapsToCompare(const QString& recordPath)
{
    const ComparableRecord record = readComparableRecord(recordPath, library_->dataFolder(), state_.filterLevel);
    const ReadComparedLap best = comparedLapOf(record, 0);
    if (!best.lap) {
        services_.dialogs.message(failureText(best.failure, settings_->tables()), MessageIcon::Information, applicationTitle());
        return;
    }
    const std::vector<int> laps =
        chooseLaps(this, settings_->tables().texts[compareLapsOf].arg(QFileInfo(recordPath).fileName()), record.laps, settings_->tables());
    if (!laps.empty())
        compareLaps(record, laps);
}

void Principale::compareLaps(const ComparableRecord& record, const std::vector<int>& laps)
{
    for (const int lap : laps) {
        const ReadComparedLap read = comparedLapOf(record, lap);
        if (!read.lap) {
            services_.dialogs.message(failureText(read.failure, settings_->tables()), MessageIcon::Information,
                                      applicationTitle());
            return;
        }
        const ChoiceRefusal refusal = addLap(choice_, read.lap->identity, read.lap->lap.lap, read.kind);
        if (refusal == ChoiceRefusal::TooMany || refusal == ChoiceRefusal::OtherKind) {
            services_.dialogs.message(settings_->tables().texts[refusal == ChoiceRefusal::TooMany ? compareTooMany : compareOtherKind],
                                      MessageIcon::Information, applicationTitle());
            break;
        }
        comparedRecords_.insert(read.lap->identity, record.path);
    }
    UserSettings(services_.userSettingsFile).setComparedLaps(choiceText(choice_));
    showComparison();
}

void Principale::changeComparison(const std::function<void(LapChoice&)>& change)
{
    change(choice_);
    UserSettings(services_.userSettingsFile).setComparedLaps(choiceText(choice_));
    showComparison();
}

// Each chosen lap read again from its record: the library's file of its
// session, else the record it was chosen from.
void Principale::showComparison()
{
    if (!comparisonWindow_) {
        comparisonWindow_ = new ComparisonWindow(this);
        connect(comparisonWindow_, &ComparisonWindow::referenceChosen, this,
                [this](int i) { changeComparison([i](LapChoice& c) { makeReference(c, i); }); });
        connect(comparisonWindow_, &ComparisonWindow::removeRequested, this,
                [this](int i) { changeComparison([i](LapChoice& c) { removeLap(c, i); }); });
        connect(comparisonWindow_, &ComparisonWindow::clearRequested, this,
                [this] { changeComparison([](LapChoice& c) { c = LapChoice{}; }); });
        connect(comparisonWindow_, &ComparisonWindow::reportRequested, this, &Principale::reportComparison);
    }
    ComparisonContent content;
    content.tables = settings_->tables();
    content.temperatureUnit = int(settings_->settings().temperatureUnit);
    QStringList gone;
    // Each record read once, however many of its laps are chosen.
    QHash<QString, ComparableRecord> records;
    // A lap whose session is gone leaves the choice, so that the laps shown
    // are the laps chosen, one for one.
    for (std::size_t i = 0; i < choice_.laps.size();) {
        const ChosenLap& chosen = choice_.laps[i];
        QString path = libraryPathOf(library_->model(), chosen.identity);
        if (path.isEmpty())
            path = comparedRecords_.value(chosen.identity);
        if (!path.isEmpty() && !records.contains(path))
            records.insert(path, readComparableRecord(path, library_->dataFolder(), state_.filterLevel));
        const ReadComparedLap read = path.isEmpty() ? ReadComparedLap{} : comparedLapOf(records[path], chosen.lap);
        if (!read.lap || read.lap->identity != chosen.identity) {
            gone << lapLabel({}, chosen.lap).trimmed() + QStringLiteral(" ") + chosen.identity.left(12);
            removeLap(choice_, int(i));
            continue;
        }
        content.laps.push_back(*read.lap);
        content.laps.back().colour = comparisonColour(chosen.colour);
        ++i;
    }
    content.reference = choice_.reference;
    if (!gone.isEmpty()) {
        UserSettings(services_.userSettingsFile).setComparedLaps(choiceText(choice_));
        services_.dialogs.message(settings_->tables().texts[compareSessionGone].arg(gone.join(QStringLiteral(", "))),
                                  MessageIcon::Information, applicationTitle());
    }
    comparisonWindow_->show(std::move(content));
}

void Principale::reportComparison()
{
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("pdf");
    request.filter = {QStringLiteral("PDF"), QStringLiteral("*.pdf")};
    request.proposedName = settings_->tables().texts[compareTitle] + QStringLiteral(".pdf");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(services_.dialogs.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeComparisonReport(path, comparisonWindow_->content(), &error))
        services_.dialogs.message(settings_->tables().texts[fileNotWritten].arg(path, error), MessageIcon::Critical, applicationTitle());
}

}  // namespace tormel
