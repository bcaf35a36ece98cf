#pragma once

#include <QWidget>

class QTimer;

namespace tracella {

// frmZoom: the magnifier that follows the pointer over the picture.
class ZoomWindow : public QWidget {
    Q_OBJECT
public:
    explicit ZoomWindow(QWidget* parent = nullptr);

    QTimer* timer() const { return tmrZoom_; }

private:
    QTimer* tmrZoom_ = nullptr;
};

} // namespace tracella
