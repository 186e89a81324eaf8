#include "record/record_decoder.h"

#include "base/number_format.h"

#include <algorithm>

namespace tormel {

QString serialNumberText(const RecordImage& image)
{
    return QString::number(image.serialFirstPart()) + Format(image.serialSecondPart(), QStringLiteral("0000"));
}

QString engineTimeText(std::uint8_t hoursBcd, std::uint8_t minutesBcd)
{
    QString minutes = QString::number(minutesBcd, 16).toUpper();
    if (minutes.size() == 1 && minutes.at(0).isDigit())
        minutes.prepend(QLatin1Char('0'));
    return QString::number(hoursBcd, 16).toUpper() + QLatin1Char(':') + minutes;
}

DecodedRecord decodeRecord(const RecordImage& image, const QString& etapesText)
{
    DecodedRecord d;
    d.Serial_Number = serialNumberText(image);
    d.Soft_Ver = QStringLiteral("Soft Ver : ") + QString::number(image.softwareVersion());
    d.Hard_Ver = QStringLiteral("Hard Ver : ") + QString::number(image.hardwareVersion());
    d.Temp_Limite = QStringLiteral("T° Max : ") + QString::number(image.temperatureLimit());
    for (int n = 0; n < 5; ++n)
        d.Ltmot[std::size_t(n)] = engineTimeText(image.engineHoursBcd(n), image.engineMinutesBcd(n));

    if (image.rpmFactorByte() != 0)
        d.Facteur_Rpm = image.rpmFactorByte() & 15;
    else
        d.Facteur_Rpm = (image.flags() & 2) != 0 ? 4 : 2;

    const int serialSecond = image.serialSecondPart();
    d.Unite_Temp_Record = image.byte(9) == 8 && serialSecond >= 200 && serialSecond <= 400 ? QLatin1Char('F') : QLatin1Char('C');

    d.nTours = std::min(int(image.lapCountPlusOne()) - 1, int(RecordImage::MaxLaps));
    d.Nombre_Etapes = etapesText + QString::number(image.stageCount());
    d.Balises_Tour = image.sectorMode() + 1;
    d.Mode = QStringLiteral("Mode : ") + QString::number(image.recordMode());

    d.Pointeur_Bas = image.pointeurBas();
    d.Pointeur_Haut = image.pointeurHaut();
    d.Nombre_Echantillons = std::min(d.Pointeur_Haut * 512 + d.Pointeur_Bas * 2 - 64, int(RecordImage::MaxSamples));
    d.Decalage_Temp = (image.flags() & 32) != 0 ? image.temperatureOffset() : 0;
    d.kind = image.isRpmRecording() ? RecordKind::EngineSpeed : RecordKind::LapTiming;
    return d;
}

}  // namespace tormel
