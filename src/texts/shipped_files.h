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

struct ShippedText {
    const char* file;  // "Menu_2.txt"
    int entry;         // the index of a text or tip, the line of a caption from 0
    const char* text;  // UTF-8
};

// Every non-empty text any shipped version of a Textes_, Tips_ or Menu_ file
// held for each entry (generated: scripts/shipped_texts).
std::span<const ShippedText> shippedTexts();

// Whether `text` is one a version of `fileName` shipped for `entry`: in a
// user's file, written whole by the translation tools, it was never edited.
bool isShippedText(const QString& fileName, int entry, const QString& text);

}  // namespace tormel
