#include "shell/app_info.h"
#include "shell/principale.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable()
{
    // Without any of these Qt would abort with a long platform-plugin report.
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fputs("tormel_vue: no display found (DISPLAY is not set); start it from a desktop session or under xvfb-run.\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(tormel::applicationTitle());
    QApplication::setApplicationVersion(tormel::versionText());

    tormel::Principale window;
    window.showMaximized();
    return QApplication::exec();
}
