#pragma once

#include <QWidget>

namespace tracella {

// frmSplash: shown topmost while the program starts, for at least 3 seconds.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Closes once the window has been visible for 3 seconds (at once when it
    // already has), without holding up the caller.
    void closeWhenShownLongEnough();

protected:
    void showEvent(QShowEvent* event) override;

private:
    qint64 shownAt_ = -1;
};

} // namespace tracella
