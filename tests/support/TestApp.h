#pragma once

#include "support/ScriptedServices.h"

#include <QColor>
#include <QImage>

namespace tracella {
class MainWindow;
class PictureSurface;
}
class QWidget;

namespace tracella::test {

// A started program: the scripted services, the main window after its load
// step (no splash, no guide unless asked), torn down at the end.
class TestApp {
public:
    explicit TestApp(bool showMaximized = true);
    ~TestApp();
    TestApp(const TestApp&) = delete;
    TestApp& operator=(const TestApp&) = delete;

    MainWindow& main() const { return *main_; }
    ScriptedServices& services() { return services_; }

    // Runs a command as its menu item would.
    void run(const QString& name);
    // Runs pending events for a while.
    static void settle(int ms = 20);

    // The document's picture surface.
    static PictureSurface& surface();
    // Makes the form the active child of the active main window: focus
    // needs an active window, which no window manager hands out here.
    void activate(QWidget* form);
    // Pastes the picture as the document, as the user does from the clipboard.
    PictureSurface& paste(const QImage& picture);

private:
    ScriptedServices services_;
    MainWindow* main_ = nullptr;
};

// The program's context as at start: no windows, commands, curves or history.
void ResetAppContext();

// A picture of one colour.
QImage PlainPicture(QSize size, QColor colour = Qt::white);

} // namespace tracella::test
