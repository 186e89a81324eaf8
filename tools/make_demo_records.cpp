// Writes the demo records shipped in data/demo/.
#include "demo_records.h"

#include "base/text_codec.h"
#include "record/record_file.h"
#include "tracks/track_file.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: make_demo_records FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(args.at(1));
    QString error;
    if (!tormel::saveRecordFile(folder.filePath(QStringLiteral("demo_laps.Tml")), tormel::demo::lapTimingRecord(), 1, &error)
        || !tormel::saveRecordFile(folder.filePath(QStringLiteral("demo_rpm.Tml")), tormel::demo::engineSpeedRecord(), 1, &error)) {
        std::fprintf(stderr, "make_demo_records: %s\n", qPrintable(error));
        return 1;
    }
    // The demo track, so that the demo laps show speeds.
    tormel::Track track = tormel::defaultTrack(1, {QStringLiteral("Nom"), QStringLiteral("Hammeau"), QStringLiteral("Country")});
    track.name = tormel::fixedTrackText(QStringLiteral("Circuit du Vallon"));
    track.town = tormel::fixedTrackText(QStringLiteral("Sainte-Colombe"));
    track.country = tormel::fixedTrackText(QStringLiteral("France"));
    track.lengths = {1100.0F, 350.5F, 400.0F, 349.5F};
    if (!tormel::saveWholeFile(folder.filePath(QStringLiteral("Pistes.aqw")), tormel::encodeTrackRecord(track), &error)) {
        std::fprintf(stderr, "make_demo_records: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
