#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tormel::fuzz {

// One folder for the whole run; every input overwrites the same files in it.
inline const QString& folder()
{
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fputs("no temporary folder\n", stderr);
        std::abort();
    }
    static const QString path = dir.path();
    return path;
}

inline QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(folder()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fputs("cannot write the input file\n", stderr);
        std::abort();
    }
    return path;
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken promise of the code under test: libFuzzer keeps the input.
inline void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A track length as files and typing can give it: ordinary, zero, negative,
// huge, infinite, not a number, or any bit pattern.
inline float length(FuzzedDataProvider& in)
{
    static constexpr std::array<float, 10> special{
        0.0F, 412.5F, -1.0F, 1.0e6F, 1.0e30F, std::numeric_limits<float>::max(),
        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()};
    if (in.ConsumeBool())
        return special[in.ConsumeIntegralInRange<std::size_t>(0, special.size() - 1)];
    return std::bit_cast<float>(in.ConsumeIntegral<std::uint32_t>());
}

}  // namespace tormel::fuzz
