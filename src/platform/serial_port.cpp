#include "platform/serial_port.h"

#include <QCollator>
#include <QDir>
#include <QStringList>

#include <algorithm>

namespace tormel {

QString englishText(const PortProblem& problem)
{
    switch (problem.kind) {
    case PortProblem::Kind::NoDevice: return QStringLiteral("no serial device for Com%1").arg(problem.port);
    case PortProblem::Kind::AccessDenied:
        return QStringLiteral("%1: permission denied (the user must be in the dialout group)").arg(problem.device);
    case PortProblem::Kind::Other: break;
    }
    return QStringLiteral("%1: %2").arg(problem.device, problem.detail);
}

QString deviceForPort(int n, const QString& environmentValue, const QStringList& candidates)
{
    if (!environmentValue.isEmpty())
        return environmentValue;
    if (n < 1 || n > candidates.size())
        return {};
    return candidates.at(n - 1);
}

QStringList serialDeviceCandidates()
{
    QCollator numeric;
    numeric.setNumericMode(true);
    QStringList devices;
    const QDir dev(QStringLiteral("/dev"));
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"}) {
        QStringList names = dev.entryList({QString::fromLatin1(pattern)}, QDir::System | QDir::Files);
        std::sort(names.begin(), names.end(), numeric);
        for (const QString& name : names)
            devices << dev.filePath(name);
    }
    return devices;
}

QString portDevice(int n)
{
    return deviceForPort(n, qEnvironmentVariable(qPrintable(QStringLiteral("TORMEL_VUE_COM%1").arg(n))),
                         serialDeviceCandidates());
}

}  // namespace tormel
