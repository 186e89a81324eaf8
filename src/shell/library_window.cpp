#include "shell/library_window.h"

#include "base/app_info.h"
#include "base/named.h"
#include "base/text_codec.h"
#include "record/record_file.h"
#include "shell/date_filter.h"
#include "shell/season_report.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QItemSelectionModel>
#include <QSplitter>
#include <QTabWidget>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace tormel {

namespace {

// A column of long paths or remarks stops there; the cell's tool tip has the rest.
constexpr int MaxColumnWidth = 480;

// The record file whose comments the session shows and opens: the first of
// its files that has a comment file, else the one that opens it.
QString commentedRecord(const LibraryRow& row, const QString& opened)
{
    for (const SessionFile& f : row.session.files)
        if (!f.missing && QFileInfo::exists(namesOfRecord(f.path).commentPath))
            return f.path;
    return opened;
}

// Sessions whose files are all gone, greyed.
class MissingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(LibraryModel::MissingRole).toBool())
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
    }
};

}  // namespace

LibraryWindow::LibraryWindow(SessionLibrary& library, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , library_(library)
    , dialogs_(dialogs)
    , filter_(&library.model())
    , tables_(frenchTextTables())
    , track_(named(new QComboBox, "LibraryTrack"))
    , serial_(named(new QComboBox, "LibrarySerial"))
    , from_(new DateFilter(QStringLiteral("LibraryFrom")))
    , to_(new DateFilter(QStringLiteral("LibraryTo")))
    , search_(named(new QLineEdit, "LibrarySearch"))
    , table_(named(new QTableView, "LibraryTable"))
    , folders_(named(new QComboBox, "LibraryFolders"))
    , addFolder_(named(new QPushButton, "LibraryAddFolder"))
    , removeFolder_(named(new QPushButton, "LibraryRemoveFolder"))
    , removeSession_(named(new QPushButton, "LibraryRemoveSession"))
    , open_(named(new QPushButton, "LibraryOpen"))
    , compareBest_(named(new QPushButton, "LibraryCompareBest"))
    , chooseLaps_(named(new QPushButton, "LibraryChooseLaps"))
    , seasonReport_(named(new QPushButton, "LibrarySeasonReport"))
    , progress_(named(new QProgressBar, "LibraryProgress"))
    , status_(named(new QLabel, "LibraryStatus"))
    , notice_(named(new QLabel, "LibraryNotice"))
    , setup_(new SetupPanel)
    , bests_(new SeasonBestsPanel)
    , tabs_(named(new QTabWidget, "LibraryTabs"))
{
    setObjectName(QStringLiteral("LibraryWindow"));
    for (QLabel*& caption : captions_)
        caption = new QLabel;
    auto* filters = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{track_, serial_, captions_[0], from_, captions_[1], to_, captions_[2], search_})
        filters->addWidget(w);
    filters->setStretch(filters->count() - 1, 1);
    table_->setModel(&filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(LibraryDateColumn, Qt::DescendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setItemDelegate(new MissingDelegate(table_));
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    // Widths from the first rows: measuring a season's every row would cost seconds.
    table_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->setWordWrap(false);
    table_->installEventFilter(this);
    // The folders and the count on one line, what to do with the chosen
    // session on the next: one line of both is wider than a small screen in German.
    auto* bottom = new QVBoxLayout;
    auto* foldersLine = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{captions_[3], folders_, addFolder_, removeFolder_, progress_, status_})
        foldersLine->addWidget(w);
    foldersLine->addStretch();
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{removeSession_, compareBest_, chooseLaps_, open_})
        actions->addWidget(w);
    bottom->addLayout(foldersLine);
    bottom->addLayout(actions);
    folders_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    progress_->setVisible(false);
    auto* split = new QSplitter;
    split->addWidget(table_);
    split->addWidget(setup_);
    split->setStretchFactor(0, 1);
    auto* sessions = new QWidget;
    auto* sessionsLayout = new QVBoxLayout(sessions);
    sessionsLayout->addLayout(filters);
    sessionsLayout->addWidget(split, 1);
    tabs_->addTab(sessions, QString());
    // The season on paper goes with the season's bests.
    auto* season = new QWidget;
    auto* seasonLayout = new QVBoxLayout(season);
    seasonLayout->setContentsMargins(0, 0, 0, 0);
    seasonLayout->addWidget(bests_, 1);
    auto* seasonButtons = new QHBoxLayout;
    seasonButtons->addStretch();
    seasonButtons->addWidget(seasonReport_);
    seasonLayout->addLayout(seasonButtons);
    tabs_->addTab(season, QString());
    notice_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(notice_);
    layout->addLayout(bottom);
    resize(1200, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableSize() * 0.9));

    connectParts();
    connect(table_->horizontalHeader(), &QHeaderView::customContextMenuRequested, this, &LibraryWindow::chooseColumns);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    applyTexts(tables_, TemperatureUnit::Celsius);
    fitColumns();
    showBests();
}

void LibraryWindow::connectParts()
{
    connect(table_, &QTableView::doubleClicked, this, &LibraryWindow::openCurrent);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LibraryWindow::showSetup);
    connect(setup_, &SetupPanel::saveRequested, this, &LibraryWindow::saveSetup);
    connect(setup_, &SetupPanel::commentRequested, this, [this] {
        const QModelIndex current = filter_.mapToSource(table_->currentIndex());
        const QString path = current.data(LibraryModel::PathRole).toString();
        if (!path.isEmpty())
            emit commentRequested(commentedRecord(library_.model().row(current.row()), path));
    });
    connect(open_, &QPushButton::clicked, this, &LibraryWindow::openCurrent);
    // A session of the season's chart: chosen in the table, or opened.
    connect(bests_, &SeasonBestsPanel::sessionChosen, this, [this](const QString& identity) {
        const int r = library_.model().rowOf(identity);
        if (const QModelIndex shown = filter_.mapFromSource(library_.model().index(r, 0)); r >= 0 && shown.isValid())
            table_->setCurrentIndex(shown);
    });
    connect(bests_, &SeasonBestsPanel::sessionOpened, this, [this](const QString& identity) {
        if (const int r = library_.model().rowOf(identity); r >= 0 && !library_.model().row(r).session.presentFile().isEmpty())
            emit openRequested(library_.model().row(r).session.presentFile());
    });
    for (QPushButton* compare : {compareBest_, chooseLaps_})
        connect(compare, &QPushButton::clicked, this, [this, compare] {
            const QString path = table_->currentIndex().data(LibraryModel::PathRole).toString();
            if (!path.isEmpty())
                emit compareRequested(path, compare == compareBest_);
        });
    connect(removeSession_, &QPushButton::clicked, this, &LibraryWindow::removeCurrent);
    connect(seasonReport_, &QPushButton::clicked, this, &LibraryWindow::reportSeason);
    connect(addFolder_, &QPushButton::clicked, this, &LibraryWindow::addFolder);
    connect(removeFolder_, &QPushButton::clicked, this, &LibraryWindow::removeFolder);
    connect(track_, &QComboBox::activated, this, [this] {
        const QVariant t = track_->currentData();
        filter_.setTrack(t.isValid() ? std::optional(t.toInt()) : std::nullopt);
        showCount();
    });
    connect(serial_, &QComboBox::activated, this, [this] {
        filter_.setSerialNumber(serial_->currentData().toString());
        showCount();
    });
    for (DateFilter* edit : {from_, to_})
        connect(edit, &DateFilter::dateChanged, this, [this] {
            filter_.setDates(from_->date(), to_->date());
            showCount();
        });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_.setText(text);
        showCount();
    });
    connect(&library_, &SessionLibrary::progress, this, [this](int done, int total) {
        progress_->setVisible(done < total);
        progress_->setRange(0, total);
        progress_->setValue(done);
        progress_->setFormat(tables_.texts[libraryUpdating].arg(done).arg(total));
    });
    connect(&library_, &SessionLibrary::updated, this, [this] {
        progress_->setVisible(false);
        fitColumns();
        fillChoices();
        showCount();
        showBests();
    });
    // What the library could not do (a sheet that does not parse, an index
    // moved aside or in use) is said beneath the table until the next update.
    const auto tell = [this](const QString& text) {
        notice_->setText(text.section(QLatin1Char('\n'), 0, 0));
        notice_->setToolTip(text);
    };
    connect(&library_, &SessionLibrary::notice, this, tell);
    // The first update may have ended before this window was opened.
    tell(library_.lastNotice());
    connect(&library_, &SessionLibrary::progress, notice_, &QLabel::clear);
}

void LibraryWindow::applyTexts(const TextTables& tables, TemperatureUnit temperatureUnit)
{
    tables_ = tables;
    temperatureUnit_ = temperatureUnit;
    setup_->applyTexts(tables, temperatureUnit);
    bests_->applyTexts(tables);
    tabs_->setTabText(0, tables.texts[libraryTitle]);
    tabs_->setTabText(1, tables.texts[bestsTitle]);
    setWindowTitle(applicationTitle() + QStringLiteral(" - ") + tables.texts[libraryTitle]);
    from_->applyTexts(tables);
    to_->applyTexts(tables);
    captions_[0]->setText(tables.texts[libraryFrom]);
    captions_[1]->setText(tables.texts[libraryTo]);
    captions_[2]->setText(tables.texts[librarySearch]);
    captions_[3]->setText(tables.texts[libraryFolders]);
    addFolder_->setText(tables.texts[libraryAddFolder]);
    removeFolder_->setText(tables.texts[libraryRemoveFolder]);
    removeSession_->setText(tables.texts[libraryRemoveSession]);
    open_->setText(tables.texts[libraryOpen]);
    compareBest_->setText(tables.texts[compareBestLap]);
    chooseLaps_->setText(tables.texts[compareChooseLaps]);
    seasonReport_->setText(tables.texts[seasonReportButton]);
    fillChoices();
    showCount();
}

// The chosen session's sheet, with the session before it on the same track
// for "as the last session", and its record's comments.
void LibraryWindow::showSetup()
{
    const QModelIndex current = filter_.mapToSource(table_->currentIndex());
    if (!current.isValid()) {
        shownIdentity_.clear();
        setup_->showSession(nullptr, nullptr, QString());
        setup_->setRoad({});
        return;
    }
    const LibraryModel& model = library_.model();
    const LibraryRow& row = model.row(current.row());
    if (row.session.identity == shownIdentity_)
        return;
    shownIdentity_ = row.session.identity;
    const int before = model.rowOf(model.cells(current.row()).previousWithSheet);
    const LibraryRow* previous = before >= 0 ? &model.row(before) : nullptr;
    QFile comments(namesOfRecord(commentedRecord(row, current.data(LibraryModel::PathRole).toString())).commentPath);
    const QString text = comments.open(QIODevice::ReadOnly) ? fromWindows1252(comments.read(64 * 1024)) : QString();
    setup_->showSession(&row, previous, text);
    setup_->setRoad(sessionRoad(current.data(LibraryModel::PathRole).toString(), library_.trackFile(), row.session.track));
}

void LibraryWindow::showBests()
{
    bests_->showBests(library_.model().bests(), library_.model().trackNames());
}

void LibraryWindow::saveSetup(const SetupSheet& sheet)
{
    const QModelIndex current = filter_.mapToSource(table_->currentIndex());
    const QString path = current.data(LibraryModel::PathRole).toString();
    if (!current.isValid() || path.isEmpty())
        return;
    const SavedSetupSheet saved =
        saveSetupSheet(sheet, path, library_.model().row(current.row()).session.identity, library_.dataFolder());
    if (saved.path.isEmpty()) {
        notice_->setText(tables_.texts[setupNotSaved].arg(setupNotSavedText(saved, tables_)));
        return;
    }
    library_.refresh();
}

void LibraryWindow::reportSeason()
{
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("pdf");
    request.filter = {QStringLiteral("PDF"), QStringLiteral("*.pdf")};
    request.proposedName = tables_.texts[bestsTitle] + QStringLiteral(".pdf");
    request.confirmOverwrite = true;
    const QString path = withDefaultExtension(dialogs_.saveFile(request), request.defaultExtension);
    if (path.isEmpty())
        return;
    std::vector<LibraryRow> rows;
    for (int r = 0; r < filter_.rowCount(); ++r)
        rows.push_back(library_.model().row(filter_.mapToSource(filter_.index(r, 0)).row()));
    QString error;
    if (!writeSeasonReport(path, rows, tables_, &error))
        dialogs_.message(tables_.texts[fileNotWritten].arg(path, error), MessageIcon::Critical, applicationTitle());
}

void LibraryWindow::setHiddenColumns(const QList<int>& columns)
{
    for (int c = 0; c < LibraryColumnCount; ++c)
        table_->setColumnHidden(c, columns.contains(c));
}

void LibraryWindow::chooseColumns(const QPoint& at)
{
    QMenu menu(tables_.texts[libraryColumns], this);
    menu.setObjectName(QStringLiteral("LibraryColumns"));
    for (int c = 0; c < LibraryColumnCount; ++c) {
        QAction* shown = menu.addAction(library_.model().headerData(c, Qt::Horizontal).toString());
        shown->setCheckable(true);
        shown->setChecked(!table_->isColumnHidden(c));
        connect(shown, &QAction::toggled, this, [this, c](bool on) {
            table_->setColumnHidden(c, !on);
            QList<int> hidden;
            for (int k = 0; k < LibraryColumnCount; ++k)
                if (table_->isColumnHidden(k))
                    hidden << k;
            emit hiddenColumnsChanged(hidden);
        });
    }
    menu.exec(table_->horizontalHeader()->viewport()->mapToGlobal(at));
}

void LibraryWindow::fitColumns()
{
    // The longest text of each column, over every row: measuring each cell
    // of 10,000 sessions would take too long, and digits are of one width.
    const LibraryModel& model = library_.model();
    std::array<QString, LibraryColumnCount> longest;
    for (int r = 0; r < model.rowCount(); ++r)
        for (std::size_t c = 0; c < longest.size(); ++c)
            if (const QString& text = model.cells(r).text[c]; text.size() > longest[c].size())
                longest[c] = text;
    const QFontMetrics cell(table_->font());
    const QFontMetrics header(table_->horizontalHeader()->font());
    constexpr int Padding = 24;  // the cell's margins, and the header's sort mark
    for (int c = 0; c < LibraryColumnCount; ++c) {
        const int wanted = std::max(cell.horizontalAdvance(longest[std::size_t(c)]),
                                    header.horizontalAdvance(model.headerData(c, Qt::Horizontal).toString()));
        table_->setColumnWidth(c, std::min(wanted + Padding, MaxColumnWidth));
    }
}

void LibraryWindow::setKeptFolders(const QStringList& folders)
{
    kept_ = folders;
    folders_->clear();
    folders_->addItems(kept_);
    removeFolder_->setEnabled(!kept_.isEmpty());
}

// The tracks and serial numbers of the sessions, keeping what is chosen.
void LibraryWindow::fillChoices()
{
    const QVariant track = track_->currentData();
    const QVariant serial = serial_->currentData();
    std::map<int, QString> tracks;
    std::set<QString, decltype(&serialNumberLess)> serials(&serialNumberLess);
    QDateTime last;
    const LibraryModel& model = library_.model();
    for (int r = 0; r < model.rowCount(); ++r) {
        const LibraryRow& row = model.row(r);
        if (row.session.track)
            tracks[*row.session.track] = row.trackName;
        serials.insert(row.session.figures.serialNumber);
        last = std::max(last, row.session.date);
    }
    from_->setCalendarStart(last.date());
    to_->setCalendarStart(last.date());
    track_->clear();
    track_->addItem(tables_.texts[libraryAllTracks]);
    for (const auto& [number, name] : tracks)
        track_->addItem(QStringLiteral("%1 %2").arg(number).arg(name), number);
    track_->setCurrentIndex(std::max(0, track_->findData(track)));
    serial_->clear();
    serial_->addItem(tables_.texts[libraryAllSerials]);
    for (const QString& s : serials)
        serial_->addItem(s, s);
    serial_->setCurrentIndex(std::max(0, serial_->findData(serial)));
}

void LibraryWindow::showCount()
{
    status_->setText(countText(tables_, librarySessionOne, librarySessionCount, filter_.rowCount()));
}

bool LibraryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LibraryWindow::openCurrent()
{
    const QString path = table_->currentIndex().data(LibraryModel::PathRole).toString();
    if (!path.isEmpty())
        emit openRequested(path);
}

void LibraryWindow::removeCurrent()
{
    const QModelIndex current = filter_.mapToSource(table_->currentIndex());
    if (!current.isValid())
        return;
    library_.removeSession(library_.model().row(current.row()).session.identity);
}

void LibraryWindow::addFolder()
{
    const QString folder = dialogs_.chooseFolder(tables_.texts[libraryAddFolder], QDir::homePath());
    if (folder.isEmpty() || kept_.contains(folder))
        return;
    setKeptFolders(kept_ + QStringList{folder});
    emit keptFoldersChanged(kept_);
}

void LibraryWindow::removeFolder()
{
    const int i = folders_->currentIndex();
    if (i < 0)
        return;
    QStringList folders = kept_;
    folders.removeAt(i);
    setKeptFolders(folders);
    emit keptFoldersChanged(kept_);
}

}  // namespace tormel
