#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace tracella {

// frmSplash: shown topmost while the program starts, for at least 3 seconds,
// with the program's photograph, version record and the date and time.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Closes once the window has been visible for 3 seconds by the clock
    // service, waiting for what is left of them; then brings the picture
    // document to the top and the program to the foreground.
    void closeWhenShownLongEnough();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& text, int pointSize, bool bold);

    QPixmap photograph_;
    qint64 shownAt_ = -1;
};

} // namespace tracella
