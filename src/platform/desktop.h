#pragma once

#include <QString>

namespace tormel {

// Starts the desktop's text viewer on a file, detached. The path is passed as
// one argument, never through a shell, so blanks and quotes are harmless.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual bool startEditor(const QString& path) = 0;
};

// What the user is told when no text viewer can be started.
inline QString editorNotFoundText() { return QStringLiteral("Notepad Not Found"); }

class QtLauncher final : public Launcher {
public:
    bool startEditor(const QString& path) override;
};

}  // namespace tormel
