#pragma once

#include "zoom/ZoomFollower.h"

#include <QWidget>

class QLineEdit;
class QScrollBar;
class QTimer;
class QToolButton;

namespace tracella {

class ZoomView;

// frmZoom: the magnifier that follows the pointer over the picture.
class ZoomWindow : public QWidget {
    Q_OBJECT
public:
    explicit ZoomWindow(QWidget* parent = nullptr);

    QTimer* timer() const { return tmrZoom_; }

    // The factor: the scroll bar's value / 100.
    float zoom() const { return zoom_; }
    // The view as last drawn.
    const QImage& view() const;

    // One tick of tmrZoom: black, follow the pointer, or rest.
    void tmrZoom_Timer();
    // Draws the magnified view around a screen position.
    void DrawZoom(QPoint screenPosition);

signals:
    // A key the zoom text box refuses; the window beeps for it.
    void keyRefused();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hsbZoom_Change(int value);
    void chkGrid_Click();
    void applyTypedZoom();
    void showPlainZoomText();
    void placeOnFirstShow();
    QWidget* frameWindow();
    QImage screenAround(const QRect& source) const;

    QToolButton* chkGrid_ = nullptr;
    QScrollBar* hsbZoom_ = nullptr;
    QLineEdit* txtZoom_ = nullptr;
    ZoomView* picZoom_ = nullptr;
    QTimer* tmrZoom_ = nullptr;
    ZoomFollower follower_;
    float zoom_ = 0;
    bool placed_ = false;
    bool applyingZoom_ = false;
};

} // namespace tracella
