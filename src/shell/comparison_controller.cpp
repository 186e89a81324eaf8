// Laps of several sessions side by side, and the library they come from.
#include "shell/comparison_controller.h"

#include "base/app_info.h"
#include "config/user_settings.h"
#include "laps/conversions.h"
#include "library/library_model.h"
#include "library/session_library.h"
#include "platform/dialogs.h"
#include "shell/comparison_window.h"
#include "shell/file_commands.h"
#include "shell/library_window.h"
#include "shell/principale.h"
#include "shell/session_report.h"
#include "shell/settings_controller.h"
#include "shell/sprockets_window.h"
#include "shell/window_state.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace tormel {

namespace {

// The library's row of a session, if it lists it.
const LibraryRow* libraryRowOf(const LibraryModel& model, const QString& identity)
{
    const int r = model.rowOf(identity);
    return r >= 0 ? &model.row(r) : nullptr;
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

ComparisonController::ComparisonController(const Services& services, SettingsController& settings, QWidget& owner,
                                           QObject* parent)
    : QObject(parent)
    , services_(services)
    , settings_(settings)
    , owner_(owner)
    , library_(new SessionLibrary(libraryFileOf(services), this))
{
    setObjectName(QStringLiteral("ComparisonController"));
    library_->setObjectName(QStringLiteral("SessionLibrary"));
    connect(library_, &SessionLibrary::updated, this, [this] {
        if (std::exchange(showAfterUpdate_, false))
            showComparison();
    });
}

ComparisonController::~ComparisonController()
{
    // A read under way answers to this controller: it ends first.
    readers_.waitForDone();
    // The windows show the library's rows: they go before it.
    delete libraryWindow_;
    delete comparisonWindow_;
}

// The index is brought up to date in the background from the start, the
// window usable meanwhile.
void ComparisonController::startLibrary()
{
    library_->setFolders(QDir::currentPath(), UserSettings(services_.userSettingsFile).libraryFolders(),
                         QFileInfo(services_.trackFile).absoluteFilePath());
}

void ComparisonController::restoreChoice()
{
    const UserSettings kept(services_.userSettingsFile);
    choice_ = choiceOfText(kept.comparedLaps());
    alignment_ = Alignment(kept.comparedAlignment());
}

void ComparisonController::showKeptComparison()
{
    showComparison();
}

void ComparisonController::saveChoice()
{
    UserSettings(services_.userSettingsFile).setComparedLaps(choiceText(choice_));
}

void ComparisonController::applyTexts()
{
    const TemperatureUnit unit = settings_.settings().temperatureUnit;
    library_->setTexts(settings_.tables(), unit);
    if (libraryWindow_)
        libraryWindow_->applyTexts(settings_.tables(), unit);
}

void ComparisonController::showLibrary()
{
    if (!libraryWindow_) {
        libraryWindow_ = new LibraryWindow(*library_, services_.dialogs, &owner_);
        libraryWindow_->applyTexts(settings_.tables(), settings_.settings().temperatureUnit);
        libraryWindow_->setKeptFolders(UserSettings(services_.userSettingsFile).libraryFolders());
        libraryWindow_->setHiddenColumns(UserSettings(services_.userSettingsFile).libraryHiddenColumns());
        connect(libraryWindow_, &LibraryWindow::hiddenColumnsChanged, this,
                [this](const QList<int>& columns) { UserSettings(services_.userSettingsFile).setLibraryHiddenColumns(columns); });
        connect(libraryWindow_, &LibraryWindow::openRequested, this, &ComparisonController::openRequested);
        connect(libraryWindow_, &LibraryWindow::commentRequested, this, &ComparisonController::commentRequested);
        connect(libraryWindow_, &LibraryWindow::compareRequested, this, [this](const QString& path, bool best) {
            if (best)
                compareLaps(readRecord(path), {0});
            else
                chooseLapsToCompare(path);
        });
        connect(libraryWindow_, &LibraryWindow::keptFoldersChanged, this, [this](const QStringList& folders) {
            UserSettings(services_.userSettingsFile).setLibraryFolders(folders);
            startLibrary();
        });
    }
    libraryWindow_->show();
    libraryWindow_->raise();
    libraryWindow_->activateWindow();
}

void ComparisonController::compareShownRecord(const ShownRecord& shown)
{
    const QString path = comparedPathOf(shown);
    if (path.isEmpty()) {
        services_.dialogs.message(settings_.tables().texts[downloadKeptNowhere], MessageIcon::Information,
                                  applicationTitle());
        return;
    }
    chooseLapsToCompare(path);
}

ComparableRecord ComparisonController::readRecord(const QString& path) const
{
    return readComparableRecord(path, library_->dataFolder(), filterLevel_, services_.trackFile,
                                settings_.settings().currentTrack);
}

void ComparisonController::showSprocketsOfShownRecord(const ShownRecord& shown)
{
    const TextTables& tables = settings_.tables();
    const QString path = comparedPathOf(shown);
    if (path.isEmpty()) {
        services_.dialogs.message(tables.texts[downloadKeptNowhere], MessageIcon::Information, applicationTitle());
        return;
    }
    const ComparableRecord record = readRecord(path);
    if (record.failure.failed()) {
        services_.dialogs.message(failureText(record.failure, tables), MessageIcon::Information, applicationTitle());
        return;
    }
    SprocketsView view;
    for (const LapTimes& lap : record.laps)
        if (ReadComparedLap read = comparedLapOf(record, lap.lap); read.lap && read.kind == RecordKind::EngineSpeed) {
            read.lap->label = tables.texts[compareLapItem].arg(lap.lap).arg(lapTimeText(float(lap.time)));
            if (lap.lap == record.figures.bestLap)
                view.chosen = int(view.laps.size());
            view.laps.push_back(std::move(*read.lap));
        }
    showSprockets(std::move(view), false);
}

void ComparisonController::showSprockets(SprocketsView view, bool fromComparison)
{
    if (!sprocketsWindow_) {
        sprocketsWindow_ = new SprocketsWindow(&owner_);
        connect(sprocketsWindow_, &SprocketsWindow::targetChosen, this,
                [this](int engine, int rpm) { UserSettings(services_.userSettingsFile).setTargetMaxRpm(engine, rpm); });
    }
    std::array<int, 6> targets{};
    const UserSettings kept(services_.userSettingsFile);
    for (int engine = 1; engine <= engineCount; ++engine)
        targets[std::size_t(engine)] = kept.targetMaxRpm(engine);
    sprocketsWindow_->fromComparison = fromComparison;
    sprocketsWindow_->show(std::move(view), settings_.tables(), targets);
}

void ComparisonController::chooseLapsToCompare(const QString& recordPath)
{
    const TextTables& tables = settings_.tables();
    const ComparableRecord record = readRecord(recordPath);
    const ReadComparedLap best = comparedLapOf(record, 0);
    if (!best.lap) {
        services_.dialogs.message(failureText(best.failure, tables), MessageIcon::Information, applicationTitle());
        return;
    }
    std::vector<int> chosen;
    for (const ChosenLap& lap : choice_.laps)
        if (lap.identity == best.lap->identity)
            chosen.push_back(lap.lap);
    const std::optional<std::vector<int>> laps = chooseLaps(
        &owner_, tables.texts[compareLapsOf].arg(QFileInfo(recordPath).fileName()), record.laps, tables, chosen,
        best.lap->lap.lap);
    if (!laps || (laps->empty() && chosen.empty()))
        return;
    // A lap of the session unticked leaves the choice.
    for (int i = int(choice_.laps.size()) - 1; i >= 0; --i) {
        const ChosenLap& lap = choice_.laps[std::size_t(i)];
        if (lap.identity == best.lap->identity && std::find(laps->begin(), laps->end(), lap.lap) == laps->end())
            removeLap(choice_, i);
    }
    compareLaps(record, *laps);
}

void ComparisonController::compareLaps(const ComparableRecord& record, const std::vector<int>& laps)
{
    const TextTables& tables = settings_.tables();
    for (const int lap : laps) {
        const ReadComparedLap read = comparedLapOf(record, lap);
        if (!read.lap) {
            services_.dialogs.message(failureText(read.failure, tables), MessageIcon::Information, applicationTitle());
            return;
        }
        const ChoiceRefusal refusal = addLap(choice_, read.lap->identity, read.lap->lap.lap, read.kind);
        if (refusal == ChoiceRefusal::TooMany || refusal == ChoiceRefusal::OtherKind) {
            services_.dialogs.message(tables.texts[refusal == ChoiceRefusal::TooMany ? compareTooMany : compareOtherKind],
                                      MessageIcon::Information, applicationTitle());
            break;
        }
        comparedRecords_.insert(read.lap->identity, record.path);
    }
    keepRecord(record);
    saveChoice();
    showComparison();
}

void ComparisonController::changeComparison(const std::function<void(LapChoice&)>& change)
{
    change(choice_);
    saveChoice();
    showComparison();
}

// Each chosen lap read again from its record: the library's file of its
// session, else the record it was chosen from.
void ComparisonController::showComparison()
{
    if (!comparisonWindow_) {
        comparisonWindow_ = new ComparisonWindow(&owner_);
        connect(comparisonWindow_, &ComparisonWindow::referenceChosen, this,
                [this](int i) { changeComparison([i](LapChoice& c) { makeReference(c, i); }); });
        connect(comparisonWindow_, &ComparisonWindow::removeRequested, this,
                [this](int i) { changeComparison([i](LapChoice& c) { removeLap(c, i); }); });
        connect(comparisonWindow_, &ComparisonWindow::clearRequested, this,
                [this] { changeComparison([](LapChoice& c) { c = LapChoice{}; }); });
        connect(comparisonWindow_, &ComparisonWindow::reportRequested, this, &ComparisonController::reportComparison);
        connect(comparisonWindow_, &ComparisonWindow::sprocketsRequested, this, [this](int index) {
            SprocketsView view;
            view.laps = comparisonWindow_->content().laps;
            view.chosen = index;
            showSprockets(std::move(view), true);
        });
        connect(comparisonWindow_, &ComparisonWindow::alignmentChosen, this, [this](Alignment alignment) {
            alignment_ = alignment;
            UserSettings(services_.userSettingsFile).setComparedAlignment(int(alignment));
        });
    }
    // A lap whose session the library does not list yet may be listed once
    // its update ends (the first one after a start): none is taken for gone before.
    if (library_->updating()
        && std::any_of(choice_.laps.cbegin(), choice_.laps.cend(), [this](const ChosenLap& chosen) {
               return !libraryRowOf(library_->model(), chosen.identity) && !comparedRecords_.contains(chosen.identity);
           })) {
        showAfterUpdate_ = true;
        return;
    }
    // The library's file of each lap's session, else the record it was chosen from.
    const auto pathOf = [this](const ChosenLap& chosen) {
        const LibraryRow* row = libraryRowOf(library_->model(), chosen.identity);
        const QString path = row ? row->session.presentFile() : QString();
        return path.isEmpty() ? comparedRecords_.value(chosen.identity) : path;
    };
    QStringList unread;
    for (const ChosenLap& chosen : choice_.laps)
        if (const QString path = pathOf(chosen); !path.isEmpty() && !keptRecord(path) && !unread.contains(path))
            unread << path;
    if (reading_ || !unread.isEmpty()) {
        showAfterRead_ = true;
        if (!reading_)
            readRecords(unread);
        return;
    }
    ComparisonContent content;
    content.tables = settings_.tables();
    content.temperatureUnit = settings_.settings().temperatureUnit;
    content.speedUnit = settings_.settings().speedUnit;
    content.alignment = alignment_;
    QStringList gone;
    // A lap whose session is gone leaves the choice, so that the laps shown
    // are the laps chosen, one for one.
    for (std::size_t i = 0; i < choice_.laps.size();) {
        const ChosenLap& chosen = choice_.laps[i];
        const LibraryRow* row = libraryRowOf(library_->model(), chosen.identity);
        const QString path = pathOf(chosen);
        const ComparableRecord* record = path.isEmpty() ? nullptr : keptRecord(path);
        const ReadComparedLap read = record ? comparedLapOf(*record, chosen.lap) : ReadComparedLap{};
        if (!read.lap || read.lap->identity != chosen.identity) {
            gone << lapLabel({}, chosen.lap).trimmed() + QStringLiteral(" ") + chosen.identity.left(12);
            removeLap(choice_, int(i));
            continue;
        }
        content.laps.push_back(*read.lap);
        content.laps.back().label = lapLabel(record->date, read.lap->lap.lap, settings_.tables().language);
        content.laps.back().colour = comparisonColour(chosen.colour);
        content.laps.back().track = row ? row->trackName : QString();
        ++i;
    }
    content.reference = choice_.reference;
    if (!gone.isEmpty()) {
        saveChoice();
        services_.dialogs.message(settings_.tables().texts[compareSessionGone].arg(gone.join(QStringLiteral(", "))),
                                  MessageIcon::Information, applicationTitle());
    }
    comparisonWindow_->show(std::move(content));
}

const ComparableRecord* ComparisonController::keptRecord(const QString& path) const
{
    const auto k = kept_.constFind(path);
    if (k == kept_.cend() || k->smoothing != filterLevel_)
        return nullptr;
    const QFileInfo file(path);
    return file.size() == k->size && file.lastModified() == k->modified ? &k->record : nullptr;
}

void ComparisonController::keepRecord(ComparableRecord record)
{
    // The file as it was before it was read: a change while reading reads it again.
    const QFileInfo file(record.path);
    const QString path = record.path;
    kept_.insert(path, KeptRecord{std::move(record), filterLevel_, file.size(), file.lastModified()});
}

void ComparisonController::readRecords(const QStringList& paths)
{
    reading_ = true;
    struct Stamp {
        qint64 size;
        QDateTime modified;
    };
    std::vector<Stamp> stamps;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        stamps.push_back({file.size(), file.lastModified()});
    }
    readers_.start([this, paths, stamps, dataFolder = library_->dataFolder(), smoothing = filterLevel_,
                    trackFile = services_.trackFile, track = int(settings_.settings().currentTrack)] {
        std::vector<ComparableRecord> records;
        for (const QString& path : paths)
            records.push_back(readComparableRecord(path, dataFolder, smoothing, trackFile, track));
        QMetaObject::invokeMethod(this, [this, stamps, smoothing, records = std::move(records)]() mutable {
            reading_ = false;
            for (std::size_t i = 0; i < records.size(); ++i) {
                const QString path = records[i].path;
                kept_.insert(path, KeptRecord{std::move(records[i]), smoothing, stamps[i].size, stamps[i].modified});
            }
            if (std::exchange(showAfterRead_, false))
                showComparison();
        });
    });
}

bool ComparisonController::showsComparison() const
{
    return comparisonWindow_ && comparisonWindow_->isVisible() && !comparisonWindow_->isMinimized()
           && int(comparisonWindow_->content().laps.size()) >= MinComparedLaps;
}

void ComparisonController::setFilterLevel(int level)
{
    filterLevel_ = level;
    if (comparisonWindow_ && comparisonWindow_->isVisible() && choice_.kind == RecordKind::EngineSpeed)
        showComparison();
}

void ComparisonController::reportComparison()
{
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("pdf");
    request.filter = {QStringLiteral("PDF"), QStringLiteral("*.pdf")};
    request.proposedName = settings_.tables().texts[compareTitle] + QStringLiteral(".pdf");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(services_.dialogs.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    ComparisonContent content = comparisonWindow_->content();
    if (sprocketsWindow_ && sprocketsWindow_->isVisible() && sprocketsWindow_->fromComparison)
        content.sprockets = sprocketsWindow_->view();
    QString error;
    if (!writeComparisonReport(path, content, &error))
        services_.dialogs.message(settings_.tables().texts[fileNotWritten].arg(path, error), MessageIcon::Critical,
                                  applicationTitle());
}

}  // namespace tormel
