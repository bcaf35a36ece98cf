#pragma once

#include "picture/ViewZoom.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QScrollBar;
class QWheelEvent;

namespace tracella {

class PictureSurface;

// frmDocument: the window that shows the picture being digitised at its
// natural size in a scrollable viewport, with the image toolbar strip.
class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    // The image toolbar strip (Picture3).
    QWidget* imageToolbar() const { return imageToolbar_; }
    // The viewport (Picture1) and the picture surface inside it (Picture2).
    QWidget* viewport() const { return viewport_; }
    PictureSurface* surface() const { return surface_; }
    QScrollBar* horizontalScrollBar() const { return hScroll1_; }
    QScrollBar* verticalScrollBar() const { return vScroll1_; }
    // lblbutton(index), index 3 ... 0 from left to right.
    QLabel* labelButton(int index) const;
    // The zoom box on the image toolbar strip.
    QComboBox* zoomBox() const { return cboZoom_; }
    // The curve box on the image toolbar strip: the curves by name, each
    // with its colour, the current one chosen.
    QComboBox* curveBox() const { return cboCurve_; }
    // Fills the curve box afresh from the curves.
    void showCurves();

    // Zooms the picture view, keeping the picture pixel at `anchor` (in
    // viewport pixels) where it is; without an anchor, about the centre.
    void zoomView(ViewZoom zoom, std::optional<QPoint> anchor = std::nullopt);

    // The layout step: viewport, scroll bars, ranges; the picture goes back
    // to the top-left corner. Runs on load, on resize and whenever the
    // picture changes.
    void Form_Resize();

    // Esc: the last grid row is removed, when EscUndo allows it.
    void Form_KeyDown(int keyCode);
    // "Undo Last Point": the Esc handling whatever EscUndo says.
    void undoLastPoint();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildImageToolbar();
    void buildZoomControls();
    void zoomBoxEdited();
    bool wheelZoom(QWheelEvent* event, QPoint viewportOffset);
    void Form_Load();
    void removeLastGridRow();
    void lblbutton_MouseDown(QLabel* label);
    void lblbutton_MouseUp(QLabel* label);
    void lblbutton_Click(QLabel* label);
    void focusChanged(QWidget* old, QWidget* now);

    QWidget* imageToolbar_ = nullptr;
    QLabel* lblbutton_[4] = {};
    QLabel* picture4_ = nullptr;
    QComboBox* cboZoom_ = nullptr;
    QComboBox* cboCurve_ = nullptr;
    int wheelRemainder_ = 0;
    // Where the last zoom kept which picture point.
    struct Anchor {
        QPoint at;
        QPoint scroll;
        QPointF picture;
    };
    std::optional<Anchor> anchored_;
    QWidget* viewport_ = nullptr;
    PictureSurface* surface_ = nullptr;
    QScrollBar* hScroll1_ = nullptr;
    QScrollBar* vScroll1_ = nullptr;
    bool loaded_ = false;
};

} // namespace tracella
