// save_loop FOLDER [once VERSION]: in FOLDER, saves a record file, a track
// and the settings, alternating between two versions of each, and prints a
// line after every round until it is killed. With "once", writes one
// version and stops. The crash-safe save test kills it at random moments.
#include "demo_records.h"

#include "config/settings.h"
#include "record/record_file.h"
#include "tracks/track_file.h"

#include <QCoreApplication>
#include <QDir>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>

using namespace tormel;

namespace {

constexpr std::int16_t loopTrack = 3;

// What the user would have typed into the editor, in the track's unit.
std::array<QString, 7> typedFields(int version)
{
    return {version == 0 ? QStringLiteral("Circuit du Vallon") : QStringLiteral("Piste des Ajoncs"),
            QStringLiteral("Vallon"), QStringLiteral("France"),
            version == 0 ? QStringLiteral("1100") : QStringLiteral("987,5"), QStringLiteral("300"),
            QStringLiteral("400"), version == 0 ? QStringLiteral("400") : QStringLiteral("287.5")};
}

bool saveVersion(const QString& folder, int version)
{
    static const RecordImage images[2] = {demo::lapTimingRecord(), demo::engineSpeedRecord()};
    SystemSettings settings;
    settings.language = std::int16_t(version == 0 ? 2 : 5);
    settings.currentTrack = std::int16_t(version == 0 ? 3 : 97);
    Track track;
    track.marker = trackMarker;
    track.lengthUnit = std::int16_t(version);
    return saveRecordFile(QDir(folder).filePath(QStringLiteral("loop.Tml")), images[version], std::int16_t(version + 1))
           && saveTrack(QDir(folder).filePath(trackFileName), loopTrack, editedTrack(track, typedFields(version))).status == TrackStatus::Done
           && saveSettings(folder, settings);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || !QDir::setCurrent(args[1])) {
        std::fputs("usage: save_loop FOLDER [once VERSION]\n", stderr);
        return 2;
    }
    const QString folder = QDir::currentPath();
    if (args.size() == 4 && args[2] == QLatin1String("once"))
        return saveVersion(folder, args[3].toInt() == 1 ? 1 : 0) ? 0 : 1;

    // Never outlive the test that started us.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (long round = 0;; ++round) {
        if (!saveVersion(folder, int(round % 2)))
            return 1;
        std::printf("%ld\n", round);
        std::fflush(stdout);
    }
}
