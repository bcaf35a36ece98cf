#pragma once

#include <QSizeF>
#include <QWidget>

namespace tracella {

// The AutoRead sweep grid drawn over the picture surface while the options
// are open. It lies on top of the surface, takes no mouse input and follows
// the surface's size; the surface's own markers are untouched by it.
class SweepGridPreview : public QWidget {
    Q_OBJECT
public:
    explicit SweepGridPreview(QWidget* surface);

    void showGrid(const QSizeF& cell);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF cell_;
};

} // namespace tracella
