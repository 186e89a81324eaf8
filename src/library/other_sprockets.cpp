#include "library/other_sprockets.h"

#include "document/record_document.h"
#include "laps/conversions.h"
#include "record/record_file.h"
#include "texts/text_tables.h"
#include "tracks/track_file.h"

#include <algorithm>

namespace tormel {

Sprockets fittedSprockets(const SetupSheet& sheet)
{
    return {sheet.frontSprocket.value_or(0), sheet.rearSprocket.value_or(0)};
}

void workOutSprockets(SprocketsView& view)
{
    view.fitted = {};
    view.engine = 0;
    view.result.reset();
    if (view.laps.empty())
        return;
    view.chosen = std::clamp(view.chosen, 0, int(view.laps.size()) - 1);
    const ComparedSessionLap& lap = view.laps[std::size_t(view.chosen)];
    view.fitted = fittedSprockets(lap.setup);
    view.engine = lap.setup.engine.value_or(0);
    const RpmLap raw{lap.lap.lap, 0, lap.trace.raw};
    view.result = withOtherSprockets(raw, lap.trace.classWidth, lap.trace.histogram, view.fitted, view.other,
                                     view.targetMaxRpm);
}

void chooseSprocketsLap(SprocketsView& view, int index)
{
    if (view.laps.empty())
        return;
    view.chosen = std::clamp(index, 0, int(view.laps.size()) - 1);
    const Sprockets fitted = fittedSprockets(view.laps[std::size_t(view.chosen)].setup);
    if (fitted.given())
        view.other = fitted;
}

SessionRoad sessionRoad(const QString& recordPath, const QString& trackFile, std::optional<int> track)
{
    SessionRoad road;
    const LoadedRecord loaded = loadRecordFile(recordPath);
    if (loaded.errorNumber != 0)
        return road;
    static const TextTables french = frenchTextTables();
    RecordDocument document;
    document.open(loaded.image);
    document.analyse(french, ViewOptions{});
    if (document.kind() != RecordKind::EngineSpeed)
        return road;
    road.inverseRpmSum = medianInverseRpmSum(document.rpm());
    if (track && isTrackNumber(*track) && !trackFile.isEmpty()) {
        const float length = readTrackLengths(trackFile, *track).value_or(std::array<float, 4>{})[0];
        road.lapLength = isLengthGiven(length) ? length : 0;
    }
    return road;
}

}  // namespace tormel
