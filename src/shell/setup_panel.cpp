#include "shell/setup_panel.h"

#include "base/named.h"
#include "laps/road_speed.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

// A spin box's lowest value stands for "not filled in".
const QString notFilled = QStringLiteral("-");
constexpr double lowestAir = -41.0;  // degrees, either unit

QSpinBox* count(const char* name, int top)
{
    auto* box = named(new QSpinBox, name);
    box->setRange(0, top);
    box->setSpecialValueText(notFilled);
    return box;
}

// A number in the language's way; the other separator is taken for it, so
// that "0.70" typed in a French window is not lost.
class DecimalBox : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;
    QValidator::State validate(QString& input, int& pos) const override
    {
        toOwnSeparator(input);
        return QDoubleSpinBox::validate(input, pos);
    }
    double valueFromText(const QString& text) const override
    {
        QString own = text;
        toOwnSeparator(own);
        return QDoubleSpinBox::valueFromText(own);
    }

private:
    void toOwnSeparator(QString& text) const
    {
        const QString own = locale().decimalPoint();
        text.replace(own == QStringLiteral(",") ? QLatin1Char('.') : QLatin1Char(','), own);
    }
};

QDoubleSpinBox* measure(const char* name, double bottom, double top, int decimals, double step)
{
    auto* box = named(new DecimalBox, name);
    box->setRange(bottom, top);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setSpecialValueText(notFilled);
    return box;
}

std::optional<int> filled(const QSpinBox* box)
{
    return box->value() > box->minimum() ? std::optional(box->value()) : std::nullopt;
}
std::optional<double> filled(const QDoubleSpinBox* box)
{
    return box->value() > box->minimum() ? std::optional(box->value()) : std::nullopt;
}
void setFilled(QSpinBox* box, const std::optional<int>& value)
{
    box->setValue(value.value_or(box->minimum()));
}
void setFilled(QDoubleSpinBox* box, const std::optional<double>& value)
{
    box->setValue(value.value_or(box->minimum()));
}


}  // namespace

SetupPanel::SetupPanel(QWidget* parent)
    : QWidget(parent)
    , driver_(named(new QLineEdit, "SetupDriver"))
    , kart_(named(new QLineEdit, "SetupKart"))
    , engine_(count("SetupEngine", 5))
    , frontSprocket_(count("SetupFrontSprocket", 99))
    , rearSprocket_(count("SetupRearSprocket", 199))
    , ratio_(named(new QLabel, "SetupRatio"))
    , circumference_(named(new QLabel, "SetupCircumference"))
    , mainJet_(count("SetupMainJet", 999))
    , needle_(measure("SetupNeedle", 0, 10, 1, 0.5))
    , tyres_(named(new QLineEdit, "SetupTyres"))
    , frontPressure_(measure("SetupFrontPressure", 0, 5, 2, 0.05))
    , rearPressure_(measure("SetupRearPressure", 0, 5, 2, 0.05))
    , trackCondition_(named(new QLineEdit, "SetupTrackCondition"))
    , airTemperature_(measure("SetupAirTemperature", lowestAir, 140, 1, 1))
    , remark_(named(new QPlainTextEdit, "SetupRemark"))
    , state_(named(new QLabel, "SetupState"))
    , likeLast_(named(new QPushButton, "SetupLikeLast"))
    , save_(named(new QPushButton, "SetupSave"))
    , comment_(named(new QPushButton, "SetupComment"))
    , commentText_(named(new QPlainTextEdit, "SetupCommentText"))
    , form_(new QFormLayout)
{
    setObjectName(QStringLiteral("SetupPanel"));
    auto* gearing = new QHBoxLayout;
    gearing->addWidget(rearSprocket_);
    gearing->addWidget(ratio_);
    for (QWidget* field : std::initializer_list<QWidget*>{driver_, kart_, engine_, frontSprocket_})
        form_->addRow(new QLabel, field);
    form_->addRow(new QLabel, gearing);
    for (QWidget* field : std::initializer_list<QWidget*>{mainJet_, needle_, tyres_, frontPressure_, rearPressure_,
                                                          trackCondition_, airTemperature_, remark_})
        form_->addRow(new QLabel, field);
    // A remark may run over many lines and is never cut.
    remark_->setTabChangesFocus(true);
    remark_->setMaximumHeight(remark_->fontMetrics().lineSpacing() * 4 + 12);
    state_->setWordWrap(true);
    state_->setStyleSheet(QStringLiteral("color: #b00000"));
    commentText_->setReadOnly(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(likeLast_);
    buttons->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    circumference_->setWordWrap(true);
    circumference_->hide();
    layout->addWidget(circumference_);
    layout->addWidget(state_);
    layout->addLayout(buttons);
    layout->addWidget(comment_);
    layout->addWidget(commentText_, 1);
    connect(frontSprocket_, &QSpinBox::valueChanged, this, &SetupPanel::showRatio);
    connect(rearSprocket_, &QSpinBox::valueChanged, this, &SetupPanel::showRatio);
    connect(save_, &QPushButton::clicked, this, [this] { emit saveRequested(sheet()); });
    connect(comment_, &QPushButton::clicked, this, &SetupPanel::commentRequested);
    connect(likeLast_, &QPushButton::clicked, this, [this] {
        // Another session's remark and conditions are not this one's: only the setup is taken.
        SetupSheet like = previous_;
        like.remark.clear();
        like.trackCondition.clear();
        like.airTemperature.reset();
        like.otherKeys = shown_.otherKeys;
        fill(like);
    });
    showSession(nullptr, nullptr, QString());
}

void SetupPanel::applyTexts(const TextTables& tables, TemperatureUnit temperatureUnit)
{
    const SetupSheet kept = sheet();
    tables_ = tables;
    temperatureUnit_ = temperatureUnit;
    locale_ = languageLocale(tables.language);
    locale_.setNumberOptions(QLocale::OmitGroupSeparator);
    for (QAbstractSpinBox* box : findChildren<QAbstractSpinBox*>())
        box->setLocale(locale_);
    // One row per field, in the table's order.
    for (int row = 0; row < std::min(form_->rowCount(), SetupFieldCount); ++row)
        static_cast<QLabel*>(form_->itemAt(row, QFormLayout::LabelRole)->widget())
            ->setText(tables.texts[setupFields()[std::size_t(row)].caption]);
    airTemperature_->setSuffix(QStringLiteral(" ") + temperatureUnitCaption(temperatureUnit));
    likeLast_->setText(tables.texts[setupLikeLast]);
    save_->setText(tables.texts[setupSave]);
    comment_->setText(tables.texts[setupComment]);
    fill(kept);
    showState();
}

void SetupPanel::showSession(const LibraryRow* row, const LibraryRow* previous, const QString& commentText)
{
    setEnabled(row != nullptr);
    // A session whose files are gone keeps its sheet as the index mirrored it.
    readOnly_ = row && row->session.missing;
    brokenError_ = row ? row->setupError : SetupSheetError{};
    brokenPath_ = row ? row->session.setup.path : QString();
    hasPrevious_ = previous != nullptr;
    previous_ = previous ? previous->setup : SetupSheet{};
    shown_ = row ? row->setup : SetupSheet{};
    SetupSheet start = shown_;
    if (row && start.isEmpty() && row->session.figures.engine > 0)
        start.engine = row->session.figures.engine;
    fill(start);
    commentText_->setPlainText(commentText);
    showState();
}

// Why the sheet cannot be saved, or which of its keys are kept as they are.
void SetupPanel::showState()
{
    const bool editable = !readOnly_ && !brokenError_.failed();
    for (int row = 0; row < form_->rowCount(); ++row)
        if (QLayoutItem* item = form_->itemAt(row, QFormLayout::FieldRole); item && item->widget())
            item->widget()->setEnabled(editable);
    for (QWidget* w : std::initializer_list<QWidget*>{frontSprocket_, rearSprocket_})
        w->setEnabled(editable);
    save_->setEnabled(editable);
    likeLast_->setEnabled(editable && hasPrevious_);
    QStringList said;
    if (readOnly_)
        said << tables_.texts[setupReadOnly];
    if (brokenError_.failed())
        said << tables_.texts[setupLeftAsIs].arg(QDir::toNativeSeparators(brokenPath_),
                                                 setupSheetErrorText(brokenError_, tables_));
    const TextEntry expected[] = {setupExpectText, setupExpectWhole, setupExpectEngine, setupExpectNumber};
    for (const MistypedField& f : shown_.mistyped)
        said << tables_.texts[setupMistyped].arg(f.key, tables_.texts[expected[int(f.expected)]]);
    state_->setText(said.join(QLatin1Char('\n')));
    state_->setVisible(!said.isEmpty());
}

void SetupPanel::fill(const SetupSheet& s)
{
    shown_.otherKeys = s.otherKeys;
    driver_->setText(s.driver);
    kart_->setText(s.kart);
    setFilled(engine_, s.engine);
    setFilled(frontSprocket_, s.frontSprocket);
    setFilled(rearSprocket_, s.rearSprocket);
    setFilled(mainJet_, s.mainJet);
    setFilled(needle_, s.needle);
    tyres_->setText(s.tyres);
    setFilled(frontPressure_, s.frontPressure);
    setFilled(rearPressure_, s.rearPressure);
    trackCondition_->setText(s.trackCondition);
    setFilled(airTemperature_, s.airTemperature ? std::optional(temperatureIn(*s.airTemperature, temperatureUnit_))
                                                : std::nullopt);
    remark_->setPlainText(s.remark);
    showRatio();
    filled_ = s;
    filledAs_ = fieldsAsShown();
}

SetupSheet SetupPanel::sheet() const
{
    SetupSheet s = keepUnchangedFields(fieldsAsShown(), filledAs_, filled_);
    s.mistyped = shown_.mistyped;
    return s;
}

SetupSheet SetupPanel::fieldsAsShown() const
{
    SetupSheet s;
    s.otherKeys = shown_.otherKeys;
    s.driver = driver_->text().trimmed();
    s.kart = kart_->text().trimmed();
    s.engine = filled(engine_);
    s.frontSprocket = filled(frontSprocket_);
    s.rearSprocket = filled(rearSprocket_);
    s.mainJet = filled(mainJet_);
    s.needle = filled(needle_);
    s.tyres = tyres_->text().trimmed();
    s.frontPressure = filled(frontPressure_);
    s.rearPressure = filled(rearPressure_);
    s.trackCondition = trackCondition_->text().trimmed();
    if (const std::optional<double> air = filled(airTemperature_))
        s.airTemperature = celsiusOf(*air, temperatureUnit_);
    s.remark = remark_->toPlainText().trimmed();
    return s;
}

void SetupPanel::showRatio()
{
    SetupSheet s;
    s.frontSprocket = filled(frontSprocket_);
    s.rearSprocket = filled(rearSprocket_);
    const std::optional<double> ratio = s.sprocketRatio();
    ratio_->setText(ratio ? locale_.toString(*ratio, 'f', 3) : QString());
    // The circumference the sprockets as typed give with the session's laps.
    const Sprockets sprockets{s.frontSprocket.value_or(0), s.rearSprocket.value_or(0)};
    const std::optional<double> metres =
        road_.inverseRpmSum ? rollingCircumference(road_.lapLength, sprockets, *road_.inverseRpmSum) : std::nullopt;
    circumference_->setVisible(metres.has_value());
    if (!metres)
        return;
    const QString text = tables_.texts[setupCircumference].arg(locale_.toString(*metres, 'f', 3));
    const bool plausible = isCircumferencePlausible(*metres);
    circumference_->setText(plausible ? text : tables_.texts[setupCircumferenceWrong].arg(text));
    circumference_->setStyleSheet(plausible ? QString() : QStringLiteral("color: #b00000"));
}

void SetupPanel::setRoad(const SessionRoad& road)
{
    road_ = road;
    showRatio();
}

}  // namespace tormel
