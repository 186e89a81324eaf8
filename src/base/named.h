#pragma once

#include <QObject>
#include <QString>

namespace tormel {

// An object given its object name, by which tests and styles find it.
template <typename T>
T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

}  // namespace tormel
