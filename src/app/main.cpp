#include "app/services/QtServices.h"
#include "app/widgets/Startup.h"

#include <QApplication>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long message when it finds no display; say it plainly.
bool haveDisplay()
{
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[])
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "tracella: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                             "to run without a desktop use: xvfb-run -a tracella\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tracella"));
    QApplication::setApplicationVersion(QStringLiteral("3.0.0"));
    QApplication::setQuitOnLastWindowClosed(false);
    tracella::InstallQtServices();
    if (!tracella::RunStartup(QCoreApplication::arguments().mid(1)))
        return 1;
    return QApplication::exec();
}
