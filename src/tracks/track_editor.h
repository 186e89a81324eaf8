#pragma once

#include "texts/text_tables.h"
#include "tracks/track_file.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tormel {

// The track editor frame: name, place, country, the lap length and the
// three section lengths in a chosen unit, the shown track's number and the
// previous, next and close buttons. It shows a track it is given and says
// when the user edits it; the window decides which track is read or written
// and when.
class TrackEditor final : public QGroupBox, public TextsPanel {
    Q_OBJECT
public:
    explicit TrackEditor(QWidget* parent, QChar decimalSeparator = systemDecimalSeparator());

    // Shows `track` as track `number`; filling the fields is no edit.
    void showTrack(const Track& track, std::int16_t number);
    // The track shown, in the unit chosen since, its lengths carried across
    // unit changes; its texts as they were given.
    const Track& track() const { return track_; }
    // What saving writes: the fields over the track shown, which it becomes.
    Track takeEdits();
    QString fieldText(int index) const;  // VNC(index)
    void focusName();

    // Field names (texts 43..49) and the close caption (texts 42).
    void applyTexts(const TextTables& tables, bool toolTipsOn) override;
    // Places the controls inside a frame of the given size, in twips.
    void layOut(int widthTwips, int heightTwips);

    // Typing in VNC(index): marks the track changed; a section length
    // changed makes the lap length their sum.
    void VNC_Change(int index);
    void VNC_GotFocus(int index);
    void Unit_Piste_Click(int index);
    // A length field that is no length is marked, and says why in its tool tip.
    void markLength(int index);

    // The number shown in Numero_Piste.
    std::int16_t shownNumber() const;

    std::array<QLineEdit*, 7> VNC{};
    std::array<QLabel*, 7> nom_champ{};
    std::array<QRadioButton*, 4> Unit_Piste{};
    QLabel* Numero_Piste;
    QPushButton* SSCommand2;
    QPushButton* SSCommand3;
    QPushButton* Fermer_Piste;

signals:
    // The user typed in a field or chose a unit.
    void edited();
    void previousClicked();
    void nextClicked();
    void closeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLengths();

    Track track_;
    QChar decimalSeparator_;
    bool loading_ = false;
    // Fields changed by the user since they were last filled from the track.
    std::array<bool, 7> typed_{};
    bool showingUnit_ = false;
    QString invalidLengthText_;
};

// The lap length the editor shows for three typed section lengths: their sum,
// shortest form, the locale's separator. Text that is not a length counts as 0.
QString sectionSum(const QString& section1, const QString& section2, const QString& section3, QChar decimalSeparator);

}  // namespace tormel
