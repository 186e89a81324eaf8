#include "tracks/track_editor.h"

#include "base/widget_twips.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace tormel {

QString sectionSum(const QString& section1, const QString& section2, const QString& section3, QChar decimalSeparator)
{
    double total = 0.0;
    for (const QString* text : {&section1, &section2, &section3})
        total += typedLength(*text).value_or(0.0);
    QString shown = QString::number(total, 'g', 15);
    shown.replace(QLatin1Char('.'), decimalSeparator);
    return shown;
}

TrackEditor::TrackEditor(QWidget* parent, QChar decimalSeparator)
    : QGroupBox(QStringLiteral("Selection"), parent)
    , decimalSeparator_(decimalSeparator)
{
    setObjectName(QStringLiteral("Frame_Piste"));
    for (int i = 0; i < 7; ++i) {
        auto* name = new QLabel(this);
        name->setObjectName(QStringLiteral("nom_champ(%1)").arg(i));
        nom_champ[std::size_t(i)] = name;
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("VNC(%1)").arg(i));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { VNC_Change(i); });
        VNC[std::size_t(i)] = edit;
    }
    for (int i = 3; i < 7; ++i)
        VNC[std::size_t(i)]->setAlignment(Qt::AlignRight);
    const QString units[] = {QStringLiteral("m"), QStringLiteral("Miles"), QStringLiteral("Feet"), QStringLiteral("Yard")};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(units[i], this);
        button->setObjectName(QStringLiteral("Unit_Piste(%1)").arg(i));
        connect(button, &QRadioButton::clicked, this, [this, i] { Unit_Piste_Click(i); });
        Unit_Piste[std::size_t(i)] = button;
    }
    Numero_Piste = new QLabel(this);
    Numero_Piste->setObjectName(QStringLiteral("Numero_Piste"));
    Numero_Piste->setAlignment(Qt::AlignCenter);
    SSCommand2 = new QPushButton(QStringLiteral("◀"), this);
    SSCommand2->setObjectName(QStringLiteral("SSCommand2"));
    SSCommand3 = new QPushButton(QStringLiteral("▶"), this);
    SSCommand3->setObjectName(QStringLiteral("SSCommand3"));
    Fermer_Piste = new QPushButton(this);
    Fermer_Piste->setObjectName(QStringLiteral("Fermer_Piste"));
    connect(SSCommand2, &QPushButton::clicked, this, &TrackEditor::previousClicked);
    connect(SSCommand3, &QPushButton::clicked, this, &TrackEditor::nextClicked);
    connect(Fermer_Piste, &QPushButton::clicked, this, &TrackEditor::closeClicked);
    hide();
}

void TrackEditor::showTrack(const Track& track, std::int16_t number)
{
    loading_ = true;
    track_ = track;
    Unit_Piste[std::size_t(std::clamp<int>(track.lengthUnit, 0, 3))]->setChecked(true);
    VNC[0]->setText(track.name);
    VNC[1]->setText(track.town);
    VNC[2]->setText(track.country);
    showLengths();
    Numero_Piste->setText(QString::number(number));
    loading_ = false;
}

void TrackEditor::showLengths()
{
    const std::array<QString, 4> texts = lengthTexts(track_, decimalSeparator_);
    for (std::size_t k = 0; k < texts.size(); ++k)
        VNC[3 + k]->setText(texts[k]);
}

Track TrackEditor::takeEdits()
{
    std::array<QString, 7> fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = VNC[i]->text();
    track_ = editedTrack(track_, fields);
    return track_;
}

QString TrackEditor::fieldText(int index) const
{
    return VNC[std::size_t(index)]->text();
}

void TrackEditor::focusName()
{
    VNC[0]->setFocus();
    VNC_GotFocus(0);
}

void TrackEditor::applyTexts(const TextTables& tables, bool)
{
    invalidLengthText_ = tables.texts[notALength];
    for (int i = 3; i < 7; ++i)
        markLength(i);
    for (int i = 0; i < 7; ++i)
        nom_champ[std::size_t(i)]->setText(tables.texts[std::size_t(trackNameField + i)]);
    Fermer_Piste->setText(tables.texts[closeButton]);
}

void TrackEditor::layOut(int widthTwips, int heightTwips)
{
    constexpr int row = 420;
    for (int i = 0; i < 7; ++i) {
        const int top = 330 + i * row;
        placeTwips(nom_champ[std::size_t(i)], {120, top, 1500, LabelHeightTwips});
        placeTwips(VNC[std::size_t(i)], {1680, top - 30, 3600, 345});
    }
    for (int i = 0; i < 4; ++i)
        placeTwips(Unit_Piste[std::size_t(i)], {5520, 300 + (3 + i) * row, 1500, 345});
    placeTwips(SSCommand2, {5520, 300, 600, 375});
    placeTwips(Numero_Piste, {6120, 330, 720, LabelHeightTwips});
    placeTwips(SSCommand3, {6840, 300, 600, 375});
    placeTwips(Fermer_Piste, {widthTwips - 1440, heightTwips - 600, 1200, 375});
}

void TrackEditor::VNC_Change(int index)
{
    if (index >= 3)
        markLength(index);
    if (loading_ || showingUnit_) {
        typed_[std::size_t(index)] = false;
        return;
    }
    typed_[std::size_t(index)] = true;
    emit edited();
    if (index >= 4 && index <= 6)
        VNC[3]->setText(sectionSum(VNC[4]->text(), VNC[5]->text(), VNC[6]->text(), decimalSeparator_));
}

void TrackEditor::markLength(int index)
{
    QLineEdit* edit = VNC[std::size_t(index)];
    const bool valid = isLengthField(edit->text());
    edit->setStyleSheet(valid ? QString() : QStringLiteral("QLineEdit { background: #ffc8c8; }"));
    edit->setToolTip(valid ? QString() : invalidLengthText_);
}

void TrackEditor::VNC_GotFocus(int index)
{
    QLineEdit* edit = VNC[std::size_t(index)];
    // From the caret to the end, so that typing at the start replaces the whole text.
    const int start = edit->cursorPosition();
    edit->setSelection(start, int(edit->text().size()) - start);
}

void TrackEditor::Unit_Piste_Click(int index)
{
    Track& track = track_;
    if (!loading_) {
        // Lengths the user typed and has not saved yet go along into the new
        // unit instead of being replaced by the stored ones. Lengths shown as
        // stored keep their metres, so switching units never drifts.
        const float factor = lengthUnitFactors[std::size_t(std::clamp<int>(track.lengthUnit, 0, 3))];
        for (int k = 0; k < 4; ++k) {
            if (!typed_[std::size_t(3 + k)])
                continue;
            const QString field = VNC[std::size_t(3 + k)]->text();
            if (!isLengthField(field))
                continue;  // not a length: the stored one stays, as on saving
            const auto typed = typedLength(field);
            const double metres = typed ? *typed / double(factor) : 0.0;
            // Beyond a float, a typed length counts as not given, as on saving.
            track.lengths[std::size_t(k)] = std::fabs(metres) < 3.0e38 ? float(metres) : 0.0F;
        }
    }
    track.lengthUnit = std::int16_t(std::clamp(index, 0, 3));
    showingUnit_ = true;
    showLengths();
    showingUnit_ = false;
    if (!loading_)
        emit edited();
}

std::int16_t TrackEditor::shownNumber() const
{
    return std::int16_t(Numero_Piste->text().toInt());
}

bool TrackEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 7; ++i) {
            if (watched == VNC[std::size_t(i)]) {
                VNC_GotFocus(i);
                break;
            }
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace tormel
