#pragma once

#include "library/library_model.h"
#include "library/session_library.h"
#include "platform/dialogs.h"
#include "shell/season_bests_panel.h"
#include "shell/setup_panel.h"
#include "texts/text_tables.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTabWidget;

namespace tormel {

class DateFilter;

// Every session in one table: filters above, the folders the library
// watches below. Return or a double click asks for the session to be opened.
class LibraryWindow : public QWidget {
    Q_OBJECT
public:
    LibraryWindow(SessionLibrary& library, Dialogs& dialogs, QWidget* parent = nullptr);

    void applyTexts(const TextTables& tables, TemperatureUnit temperatureUnit);
    void setKeptFolders(const QStringList& folders);
    void setHiddenColumns(const QList<int>& columns);

signals:
    void openRequested(const QString& path);
    // The comment file of the session's record, in the desktop's editor.
    void commentRequested(const QString& recordPath);
    void keptFoldersChanged(const QStringList& folders);
    // The session's best lap, or laps the user chooses, to compare.
    void compareRequested(const QString& recordPath, bool bestLap);
    void hiddenColumnsChanged(const QList<int>& columns);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectParts();
    void openCurrent();
    void removeCurrent();
    void addFolder();
    void removeFolder();
    void fillChoices();
    void showCount();
    void showSetup();
    void showBests();
    void saveSetup(const SetupSheet& sheet);
    // The sessions the filters let through, on paper.
    void reportSeason();
    // The header's menu: a column shown or hidden.
    void chooseColumns(const QPoint& at);
    // Each column as wide as its widest text in any row, or its header.
    void fitColumns();

    SessionLibrary& library_;
    Dialogs& dialogs_;
    LibraryFilter filter_;
    TextTables tables_;
    QStringList kept_;
    QComboBox* track_;
    QComboBox* serial_;
    DateFilter* from_;
    DateFilter* to_;
    QLineEdit* search_;
    QTableView* table_;
    QComboBox* folders_;
    QPushButton* addFolder_;
    QPushButton* removeFolder_;
    QPushButton* removeSession_;
    QPushButton* open_;
    QPushButton* compareBest_;
    QPushButton* chooseLaps_;
    QPushButton* seasonReport_;
    QProgressBar* progress_;
    QLabel* status_;
    QLabel* notice_;
    std::array<QLabel*, 4> captions_{};
    SetupPanel* setup_;
    SeasonBestsPanel* bests_;
    QTabWidget* tabs_;
    // The session whose sheet the panel shows, kept through the updates of
    // the table so that an update never throws away what is being typed.
    QString shownIdentity_;
    TemperatureUnit temperatureUnit_ = TemperatureUnit::Celsius;
};

}  // namespace tormel
