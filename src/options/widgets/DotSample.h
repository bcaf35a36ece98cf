#pragma once

#include <QColor>
#include <QWidget>

namespace tracella {

// PictureSample: shows one dot of the marker size and colour being chosen.
// Its pen width is what "&Do It" stores as the dot size.
class DotSample : public QWidget {
    Q_OBJECT
public:
    explicit DotSample(QWidget* parent = nullptr);

    int penWidth() const { return penWidth_; }

    // Erases the sample and draws the dot again. A size text that gives no
    // usable width leaves the pen width as it was.
    void redraw(const QString& sizeText, const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int penWidth_ = 1;
    QColor colour_;
    bool hasDot_ = false;
};

} // namespace tracella
