#include "support/temp_folder.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace tormel::test {

TempFolder::TempFolder()
    : previous_(QDir::currentPath())
{
    if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
        throw std::runtime_error("cannot create the test's temporary folder");
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(previous_);
}

QString TempFolder::file(const QString& name) const
{
    return QDir(dir_.path()).filePath(name);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

}  // namespace tormel::test
