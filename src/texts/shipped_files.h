#pragma once

#include <QByteArray>
#include <QString>

#include <span>

namespace tormel {

struct ShippedDigest {
    const char* name;    // "Textes_2.txt"
    const char* sha256;  // lower-case hexadecimal
};

// The digests of every language and help file the program has shipped.
std::span<const ShippedDigest> shippedDigests();

// Whether `bytes` are those of a version of the shipped file `fileName`: a
// user's file that is one was copied, never edited.
bool isShippedVersion(const QString& fileName, const QByteArray& bytes);

}  // namespace tormel
