#include "support/temp_folder.h"
#include "tracks/track_editor.h"

#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace tormel {
namespace {

TEST(TrackEditor, TypedSectionsGiveTheLapLengthInTheLocalesWay)
{
    for (QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        TrackState track;
        TrackEditor editor(nullptr, track, separator);
        editor.setFieldText(5, QStringLiteral("350") + separator + QStringLiteral("5"));
        editor.setFieldText(6, QStringLiteral("200") + separator + QStringLiteral("25"));
        track.modified = false;
        editor.setFieldText(4, QStringLiteral("400"));
        EXPECT_EQ(editor.fieldText(3), QStringLiteral("950") + separator + QStringLiteral("75"));
        EXPECT_TRUE(track.modified);
        // The other separator and a leading number count too; text that is no length is marked.
        const QChar other = separator == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        editor.setFieldText(5, QStringLiteral("12") + other + QStringLiteral("5"));
        editor.setFieldText(6, QStringLiteral("12abc"));
        EXPECT_EQ(editor.fieldText(3), QStringLiteral("424") + separator + QStringLiteral("5"));
        EXPECT_TRUE(editor.VNC[6]->toolTip().isEmpty());
        TextTables texts = frenchTextTables();
        editor.applyTexts(texts, true);
        editor.setFieldText(6, QStringLiteral("abc"));
        EXPECT_EQ(editor.VNC[6]->toolTip(), texts.texts[61]);
        editor.setFieldText(6, QString());
        EXPECT_TRUE(editor.VNC[6]->toolTip().isEmpty());
    }
}

TEST(TrackEditor, UnitButtonsShowTheStoredLengths)
{
    test::TempFolder folder;
    TrackRecord record = defaultTrack(1, {});
    record.lengths = {1000.0F, 0, 0, 0};
    test::writeBytes(trackFileName, encodeTrackRecord(record));
    TrackState track;
    TrackEditor editor(nullptr, track, QLatin1Char('.'));
    std::int16_t trackNumber = 1;
    ASSERT_EQ(loadTrack(trackNumber, track, editor, QLatin1Char('.')).status, TrackStatus::Done);

    EXPECT_EQ(editor.fieldText(3), QStringLiteral("1000.0"));
    EXPECT_FALSE(track.modified);
    editor.Unit_Piste[1]->click();
    EXPECT_EQ(editor.fieldText(3) + u'|' + editor.fieldText(4), QStringLiteral("0.6214|0.0"));
    EXPECT_TRUE(track.modified);
    // Going round the units never drifts from the stored metres.
    for (int unit : {2, 3, 1, 0})
        editor.Unit_Piste[std::size_t(unit)]->click();
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("1000.0"));
    // A length typed but not saved goes along into the next unit.
    editor.setFieldText(3, QStringLiteral("1609.344"));
    editor.Unit_Piste[1]->click();
    EXPECT_EQ(editor.fieldText(3), QStringLiteral("1.0"));
}

}  // namespace
}  // namespace tormel
