#pragma once

#include "app/core/AppState.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tracella {

// What the selection shows over the frozen screen: the outline and, when
// the rectangle has room for it, the size label.
struct CaptureSelection {
    QRect rect;
    Colour outlineColour = 0;
    QString labelText;
    QSize labelSize;
    std::optional<QPoint> labelPosition; // top-left; none when it does not fit
    Colour labelColour = 0;
};

// frmCaptureNew: the instructions, then after the delay a frameless copy of
// the frozen screen over the real one, on which the user marks the
// rectangle that becomes the document picture. Deletes itself on close.
class CaptureWindow : public QWidget {
    Q_OBJECT
public:
    explicit CaptureWindow(QWidget* owner = nullptr);

    QLabel* instructions() const { return lblCapture_; }
    QPushButton* okButton() const { return btnCaptureOK_; }
    QPushButton* cancelButton() const { return btnCaptureCancel_; }

    bool firstCornerSet() const { return firstCornerSet_; }
    const std::optional<CaptureSelection>& selection() const { return selection_; }
    // The copy of the screen the rectangle is taken from; null before it is made.
    const QImage& frozenScreen() const { return frozen_; }

signals:
    // The window hid itself for the delay or closed: its modal showing is over.
    void released();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void btnCaptureOK_Click();
    void waitForDelay();
    bool freezeScreen();
    void showFrozenScreen();
    void followPointer(QPointF pointer);
    void CaptureArea(QPointF firstCorner, QPointF secondCorner);
    QImage frozenPart(const QRect& rect) const;
    Colour frozenColourAt(QPoint position) const;
    void release();

    QGroupBox* frmCapture_ = nullptr;
    QLabel* lblCapture_ = nullptr;
    QPushButton* btnCaptureOK_ = nullptr;
    QPushButton* btnCaptureCancel_ = nullptr;

    int delay_ = 0;
    Qt::WindowStates savedMainState_;
    bool zoomWasRunning_ = false;
    bool released_ = false;
    bool selecting_ = false;
    QImage frozen_;

    bool firstCornerSet_ = false;
    QPointF firstCorner_;
    // The colour the next outline is drawn in: the last label's.
    Colour drawColour_ = Rgb(0, 0, 0);
    std::optional<CaptureSelection> selection_;
};

} // namespace tracella
