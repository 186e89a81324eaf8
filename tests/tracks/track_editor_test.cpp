#include "tracks/track_editor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace tormel {
namespace {

// An editor showing a track as track 4, counting the edits it reports.
struct Editor {
    explicit Editor(std::array<float, 4> lengths, int unit = 0, QChar separator = QLatin1Char('.'))
        : shown{trackMarker, "Le Mans", "Sarthe", "France", lengths, std::int16_t(unit)}, editor(nullptr, separator)
    {
        QObject::connect(&editor, &TrackEditor::edited, [this] { ++edits; });
        editor.showTrack(shown, 4);
    }
    QString fields(int from = 0, int to = 6) const
    {
        QStringList texts;
        for (int i = from; i <= to; ++i)
            texts << editor.fieldText(i);
        return texts.join(u'|');
    }
    Track shown;
    TrackEditor editor;
    int edits = 0;
};

TEST(TrackEditor, ShowsATrackWithoutCountingItAsAnEdit)
{
    Editor e({1000, 300, 400, 300}, 3, QLatin1Char(','));
    EXPECT_EQ(e.fields(), "Le Mans|Sarthe|France|1093,6133|328,084|437,4453|328,084");
    EXPECT_EQ(std::tuple(e.editor.shownNumber(), e.editor.Unit_Piste[3]->isChecked(), e.edits), std::tuple(4, true, 0));
}

TEST(TrackEditor, TypedSectionsGiveTheLapLengthInTheLocalesWay)
{
    for (QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        Editor e({}, 0, separator);
        const TextTables texts = frenchTextTables();
        e.editor.applyTexts(texts, true);
        e.editor.VNC[5]->setText(QStringLiteral("350") + separator + QStringLiteral("5"));
        e.editor.VNC[6]->setText(QStringLiteral("200") + separator + QStringLiteral("25"));
        e.editor.VNC[4]->setText(QStringLiteral("400"));
        EXPECT_EQ(e.editor.fieldText(3), QStringLiteral("950") + separator + QStringLiteral("75"));
        EXPECT_EQ(e.edits, 6);  // three sections, and the lap length each time
        // The other separator and a leading number count too; text that is no length is marked.
        const QChar other = separator == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        e.editor.VNC[5]->setText(QStringLiteral("12") + other + QStringLiteral("5"));
        e.editor.VNC[6]->setText(QStringLiteral("12abc"));
        EXPECT_EQ(e.editor.fieldText(3), QStringLiteral("424") + separator + QStringLiteral("5"));
        EXPECT_TRUE(e.editor.VNC[6]->toolTip().isEmpty());
        e.editor.VNC[3]->setText(QStringLiteral("abc"));
        EXPECT_EQ(e.editor.VNC[3]->toolTip(), texts.texts[61]);
        EXPECT_EQ(e.editor.Fermer_Piste->text(), texts.texts[closeButton]);
        e.editor.VNC[3]->setText(QString());
        EXPECT_TRUE(e.editor.VNC[3]->toolTip().isEmpty());
    }
}

TEST(TrackEditor, UnitButtonsShowTheStoredLengths)
{
    Editor e({1000, 0, 0, 0});
    e.editor.Unit_Piste[1]->click();
    EXPECT_EQ(e.fields(3, 4), "0.6214|0.0");
    EXPECT_EQ(std::pair(e.edits, int(e.editor.track().lengthUnit)), std::pair(1, 1));
    // Going round the units never drifts from the stored metres.
    for (int unit : {2, 3, 1, 0})
        e.editor.Unit_Piste[std::size_t(unit)]->click();
    EXPECT_EQ(e.editor.fieldText(3), "1000.0");
    // A length typed but not saved goes along into the next unit, and into the track.
    e.editor.VNC[3]->setText("1609.344");
    e.editor.Unit_Piste[1]->click();
    EXPECT_EQ(e.editor.fieldText(3), "1.0");
    EXPECT_EQ(e.editor.track().lengths[0], 1609.344F);
}

TEST(TrackEditor, EditsTakenAreTheTrackItHoldsFromThen)
{
    Editor e({1000, 0, 0, 0});
    e.editor.Unit_Piste[1]->click();
    e.editor.VNC[0]->setText("Edited");
    const Track saved = e.editor.takeEdits();
    e.shown.lengthUnit = 1;
    EXPECT_EQ(saved, editedTrack(e.shown, {"Edited", "Sarthe", "France", "0.6214", "0.0", "0.0", "0.0"}));
    EXPECT_EQ(e.editor.track(), saved);
    // The lap length shown in miles was saved rounded: back in metres it shows so.
    e.editor.Unit_Piste[0]->click();
    EXPECT_EQ(e.editor.fieldText(3), "1000.0463");
    EXPECT_EQ(e.editor.fieldText(0), "Edited");
}

}  // namespace
}  // namespace tormel
