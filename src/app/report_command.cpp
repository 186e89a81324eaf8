#include "app/report_command.h"

#include "app/command_folders.h"
#include "app/command_language.h"
#include "base/app_info.h"
#include "config/settings.h"
#include "document/record_document.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "record/record_decoder.h"
#include "record/record_file.h"
#include "shell/file_commands.h"
#include "shell/record_report.h"
#include "shell/session_report.h"

#include <QApplication>
#include <QFileInfo>
#include <QTranslator>

#include <cstdio>
#include <optional>

namespace tormel {

namespace {

// Nobody answers: what the window would say is kept for standard error.
class KeptMessages final : public Dialogs {
public:
    void message(const QString& text, MessageIcon, const QString&) override { texts << text; }
    bool ask(const QString&, const QString&) override { return false; }
    QString openFile(const FileDialogRequest&) override { return {}; }
    QString saveFile(const FileDialogRequest&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void setParentWidget(QWidget*) override {}
    QStringList texts;
};

class NoLauncher final : public Launcher {
public:
    bool startEditor(const QString&) override { return false; }
};

void fail(const QString& line)
{
    std::fprintf(stderr, "tormel_vue: %s\n", qPrintable(line));
}

}  // namespace

int reportCommand(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 || !args.at(3).endsWith(QLatin1String("pdf"), Qt::CaseInsensitive)) {
        fail(QStringLiteral("--report takes a record file and an output file ending in pdf"));
        return 2;
    }
    const QString record = QFileInfo(args.at(2)).absoluteFilePath();
    const QString out = QFileInfo(args.at(3)).absoluteFilePath();
    if (!QFileInfo(record).isFile()) {
        fail(QStringLiteral("cannot read the record %1: no such file").arg(args.at(2)));
        return 1;
    }
    const CommandFolders folders = commandFolders();
    const QString trackFile = commandTrackFile(folders.working);
    const SystemSettings settings = loadSettings(folders.program);
    const LanguageTexts language = readWindowLanguage(folders.program, folders.shipped, languageOfNumber(settings.language));
    if (!language.warning.isEmpty())
        fail(language.warning);
    const TextTables& tables = language.tables;
    // Qt's texts, which a failed write speaks in, as the window shows them.
    QTranslator qtTexts;
    installQtTexts(qtTexts, languageOfNumber(settings.language));

    // The record read as the window reads it, with its messages.
    KeptMessages dialogs;
    NoLauncher launcher;
    FileCommands files(dialogs, launcher, tables, QString());
    const std::optional<LoadedRecord> loaded = files.load(record);
    RecordDocument document;
    std::optional<RecordReport> report;
    if (loaded) {
        const ViewOptions options = commandViewOptions(settings, language, trackFile, loaded->trackNumber);
        document.open(loaded->image);
        document.analyse(tables, options);
        if (document.refusal() != Refusal::None)
            dialogs.texts << refusalText(document.refusal(), tables);
        else
            report.emplace(recordCaption(record, serialNumberText(loaded->image)), document, tables, options,
                           settings.showToolTips,
                           [&](const QString&) { dialogs.texts << tables.texts[unexpectedError]; });
    }
    if (!dialogs.texts.isEmpty()) {
        fail(QStringLiteral("%1: %2").arg(args.at(2), dialogs.texts.join(QStringLiteral(" / "))));
        return 1;
    }
    QString error;
    if (!writeSessionReport(out, report->content(), &error)) {
        fail(QStringLiteral("cannot write %1: %2").arg(args.at(3), error));
        return 1;
    }
    return 0;
}

}  // namespace tormel
