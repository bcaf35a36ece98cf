#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace tracella {

// The magnification of the document's picture view. Everything the program
// stores or reads stays in picture pixels; only the view is scaled, and
// these are the one mapping between view pixels and picture pixels.
class ViewZoom {
public:
    static constexpr double Minimum = 0.1;
    static constexpr double Maximum = 16.0;

    ViewZoom() = default;
    // Clamped to Minimum ... Maximum; a factor that is not a number gives 1.
    explicit ViewZoom(double factor);

    double factor() const { return factor_; }
    bool isNatural() const { return factor_ == 1.0; }

    // The size the picture takes in the view (at least one pixel a side).
    QSize viewSize(QSize picture) const;

    // The picture position under the centre of a view pixel, to sub-pixel
    // precision, where picture pixel i reads as position i. At 100 % it is
    // the view pixel itself.
    QPointF pictureAt(QPoint viewPixel) const;

    // The picture pixels that show in a view rectangle, cut to the picture.
    QRect pictureRect(const QRect& view, QSize picture) const;
    // The view pixels that show a rectangle of picture pixels.
    QRect viewRect(const QRect& picture) const;

    // The scroll value that keeps picture position p at offset `at` from
    // the viewport's edge (one axis).
    int scrollKeeping(double picturePosition, int at) const;
    // The picture position at offset `at` from the viewport's edge for the
    // given scroll value (one axis).
    double pictureAtOffset(int scroll, int at) const;

    // The next step up or down on the zoom box's ladder.
    ViewZoom steppedIn() const;
    ViewZoom steppedOut() const;

    // "400%": the zoom box's text.
    QString text() const;
    // A typed zoom ("250", "250%", " 33.3 %"), clamped; nothing when the
    // text holds no number.
    static std::optional<ViewZoom> fromText(const QString& text);

private:
    double factor_ = 1.0;
};

// The zoom box's ladder, in per cent.
inline constexpr int ZoomLadderPercent[] = {10, 25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800, 1200, 1600};

} // namespace tracella
