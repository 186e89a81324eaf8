#pragma once

#include "library/lap_comparison.h"

#include <QHash>
#include <QObject>
#include <QDateTime>
#include <QPointer>
#include <QThreadPool>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace tormel {

class ComparisonWindow;
class LibraryWindow;
class SprocketsWindow;
struct SprocketsView;
class SessionLibrary;
class SettingsController;
struct ShownRecord;
struct Services;

// The library of sessions and the laps of any sessions compared: the index
// kept up to date in the background, the library's window, the choice of
// laps (kept in the user settings) and the comparison's window and report.
// The windows it opens belong to `owner`, the main window.
class ComparisonController final : public QObject {
    Q_OBJECT
public:
    ComparisonController(const Services& services, SettingsController& settings, QWidget& owner,
                         QObject* parent = nullptr);
    ~ComparisonController() override;

    SessionLibrary& library() { return *library_; }
    // The index brought up to date for the kept folders, and the choice of
    // laps of the last run; at start and when the folders change.
    void startLibrary();
    void restoreChoice();
    // The library's window, from its menu entry.
    void showLibrary();
    // Laps of the record shown, from the File menu; lap 0 is its best lap.
    void compareShownRecord(const ShownRecord& shown);
    // The laps of the record shown with other sprockets, from the File menu.
    void showSprocketsOfShownRecord(const ShownRecord& shown);
    // The comparison kept (laps, reference, alignment), shown again from the File menu.
    void showKeptComparison();
    // While a comparison of enough laps is in sight, the report is its own.
    bool showsComparison() const;
    void reportComparison();
    // The texts and units of the settings, in the windows made so far.
    void applyTexts();
    // Engine-speed laps compared are smoothed as the single charts are.
    void setFilterLevel(int level);

signals:
    // A session of the library opened, or its comment edited, as from the File menu.
    void openRequested(const QString& path);
    void commentRequested(const QString& path);

private:
    ComparableRecord readRecord(const QString& path) const;
    void chooseLapsToCompare(const QString& recordPath);
    void showSprockets(SprocketsView view, bool fromComparison);
    void compareLaps(const ComparableRecord& record, const std::vector<int>& laps);
    void changeComparison(const std::function<void(LapChoice&)>& change);
    void showComparison();
    void saveChoice();
    // The record of `path` as last read with the smoothing at hand, while
    // its file is unchanged; none when it must be read again.
    const ComparableRecord* keptRecord(const QString& path) const;
    void keepRecord(ComparableRecord record);
    // The records not kept, read on a thread of their own; the comparison
    // is shown again once they are in.
    void readRecords(const QStringList& paths);

    const Services& services_;
    SettingsController& settings_;
    QWidget& owner_;
    SessionLibrary* library_;
    QPointer<LibraryWindow> libraryWindow_;  // made at the first showLibrary
    QPointer<ComparisonWindow> comparisonWindow_;  // made at the first comparison
    QPointer<SprocketsWindow> sprocketsWindow_;    // made when first asked for
    LapChoice choice_;
    // Records whose laps were chosen, by session: those the library does not list yet.
    QHash<QString, QString> comparedRecords_;
    int filterLevel_ = 0;
    Alignment alignment_ = Alignment::Time;  // kept with the choice
    // Laps kept from the last run wait for the library's update before any is taken for gone.
    bool showAfterUpdate_ = false;
    bool showAfterRead_ = false;
    struct KeptRecord {
        ComparableRecord record;
        int smoothing = 0;
        qint64 size = -1;
        QDateTime modified;
    };
    QHash<QString, KeptRecord> kept_;
    // One read at a time; a comparison changed meanwhile is shown after it.
    QThreadPool readers_;
    bool reading_ = false;
};

}  // namespace tormel
