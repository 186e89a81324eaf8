#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <stdexcept>

namespace tormel::test {

// A fresh folder that is also the current folder for the test's lifetime:
// files the program names relative to the working folder land here.
class TempFolder {
public:
    TempFolder()
    {
        if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
            throw std::runtime_error("cannot create the test's temporary folder");
    }
    ~TempFolder() { QDir::setCurrent(previous_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return QDir(dir_.path()).filePath(name); }

private:
    QString previous_ = QDir::currentPath();
    QTemporaryDir dir_;
};

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

}  // namespace tormel::test
