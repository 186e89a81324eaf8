#pragma once

#include "library/library_model.h"
#include "library/other_sprockets.h"
#include "library/setup_sheet.h"
#include "texts/text_tables.h"

#include <QLocale>
#include <QWidget>

#include <array>

class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace tormel {

// The setup sheet of the session chosen in the library: edited here, saved
// by the window; the record's comment file is shown beneath it.
class SetupPanel : public QWidget {
    Q_OBJECT
public:
    explicit SetupPanel(QWidget* parent = nullptr);

    void applyTexts(const TextTables& tables, TemperatureUnit temperatureUnit);
    // `previous`: the session before it on the same track, for "as the last
    // session"; null when there is none. A session without a sheet of its
    // own starts with the record's engine.
    void showSession(const LibraryRow* row, const LibraryRow* previous, const QString& commentText);
    // The sheet as the fields hold it, with the keys of its file the program does not know.
    SetupSheet sheet() const;
    // The chosen session's lap length and revolutions: with the sprockets
    // typed, the rolling circumference they imply, which the panel shows,
    // and warns of when no kart tyre is that size.
    void setRoad(const SessionRoad& road);

signals:
    void saveRequested(const SetupSheet& sheet);
    void commentRequested();

private:
    void fill(const SetupSheet& sheet);
    void showRatio();
    SetupSheet fieldsAsShown() const;
    void showState();

    SetupSheet shown_;
    // The sheet last put into the fields, and the fields as they then read:
    // what the user did not change is saved as it was, whole.
    SetupSheet filled_;
    SetupSheet filledAs_;
    TextTables tables_;
    bool readOnly_ = false;
    SetupSheetError brokenError_;
    QString brokenPath_;
    SetupSheet previous_;
    bool hasPrevious_ = false;
    TemperatureUnit temperatureUnit_ = TemperatureUnit::Celsius;
    QLocale locale_;
    SessionRoad road_;
    QLineEdit* driver_;
    QLineEdit* kart_;
    QSpinBox* engine_;
    QSpinBox* frontSprocket_;
    QSpinBox* rearSprocket_;
    QLabel* ratio_;
    QLabel* circumference_;
    QSpinBox* mainJet_;
    QDoubleSpinBox* needle_;
    QLineEdit* tyres_;
    QDoubleSpinBox* frontPressure_;
    QDoubleSpinBox* rearPressure_;
    QLineEdit* trackCondition_;
    QDoubleSpinBox* airTemperature_;
    QPlainTextEdit* remark_;
    QLabel* state_;
    QPushButton* likeLast_;
    QPushButton* save_;
    QPushButton* comment_;
    QPlainTextEdit* commentText_;
    QFormLayout* form_;
};

}  // namespace tormel
