#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tormel::test {

// A fresh folder that is also the current folder for the test's lifetime:
// files the program names relative to the working folder land here.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

}  // namespace tormel::test
