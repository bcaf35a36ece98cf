#include "calibration/LabelOcr.h"

#include "picture/CancelToken.h"

#include <QPolygonF>
#include <QTransform>

#include <omp.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tracella {
namespace {

// Tesseract reads best with letters some 30 pixels high, clear of the edge.
constexpr double LetterHeight = 36;
constexpr int Border = 12;

// Tesseract spreads a recognition over OpenMP threads: for a label of a
// few letters waking them costs more than they save, on a busy machine
// many times more. The caller's setting comes back afterwards.
class OneThread {
public:
    OneThread() { omp_set_max_active_levels(0); }
    ~OneThread() { omp_set_max_active_levels(before_); }
    OneThread(const OneThread&) = delete;
    OneThread& operator=(const OneThread&) = delete;

private:
    int before_ = omp_get_max_active_levels();
};

QImage Prepared(const QImage& crop)
{
    const double scale = std::clamp(LetterHeight / std::max(1, crop.height()), 1.0, 8.0);
    const QImage grey = crop.convertToFormat(QImage::Format_Grayscale8)
                            .scaled(int(crop.width() * scale), int(crop.height() * scale), Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
    QImage out(grey.width() + 2 * Border, grey.height() + 2 * Border, QImage::Format_Grayscale8);
    out.fill(255);
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(), out.scanLine(y + Border) + Border);
    return out;
}

// Where a raised exponent stands on an upright label ("10" and a small
// "-3" above its line), or nothing: the glyphs after the last one standing on
// the line of the tallest, when they all end clearly above it and one of
// them is a digit rather than a sign.
QRect Raised(const QImage& upright)
{
    struct Glyph {
        int left = 0, right = 0, top = 0, bottom = 0;
        int height() const { return bottom - top + 1; }
    };
    std::vector<Glyph> glyphs;
    for (int x = 0; x < upright.width(); ++x) {
        int top = -1, bottom = -1;
        for (int y = 0; y < upright.height(); ++y)
            if (qGray(upright.pixel(x, y)) < 128)
                top = top < 0 ? y : top, bottom = y;
        if (top < 0)
            continue;
        if (glyphs.empty() || glyphs.back().right < x - 1)
            glyphs.push_back({x, x, top, bottom});
        Glyph& g = glyphs.back();
        g.right = x, g.top = std::min(g.top, top), g.bottom = std::max(g.bottom, bottom);
    }
    if (glyphs.size() < 2)
        return {};
    const Glyph tallest = *std::max_element(glyphs.begin(), glyphs.end(),
                                            [](const Glyph& a, const Glyph& b) { return a.height() < b.height(); });
    const double above = tallest.bottom - 0.3 * tallest.height();
    std::size_t first = glyphs.size();
    bool digit = false;
    int top = upright.height(), bottom = 0;
    while (first > 0 && glyphs[first - 1].bottom < above) {
        const Glyph& g = glyphs[--first];
        digit = digit || g.height() > 0.3 * tallest.height();
        top = std::min(top, g.top), bottom = std::max(bottom, g.bottom);
    }
    if (first == 0 || !digit)
        return {};
    return QRect(QPoint(glyphs[first].left - 1, top - 1), QPoint(upright.width() - 1, bottom + 1))
        .intersected(upright.rect());
}

} // namespace

QRect LabelBox(const QImage& picture, const FoundAxis& axis, std::size_t tick)
{
    const QPointF line = axis.to - axis.from;
    const double length = std::hypot(line.x(), line.y());
    if (length <= 0 || tick >= axis.ticks.size())
        return {};
    const QPointF along = line / length, out = axis.outward, at = axis.ticks[tick].pixel;
    double spacing = std::numeric_limits<double>::infinity();
    for (std::size_t other : {tick - 1, tick + 1})
        if (other < axis.ticks.size())
            spacing = std::min(spacing, QLineF(at, axis.ticks[other].pixel).length());
    const double half = std::isfinite(spacing) ? spacing / 2 - 1 : length / 10;
    auto ink = [&](double d, double s) {
        const QPointF p = at + d * out + s * along;
        const int x = int(std::lround(p.x())), y = int(std::lround(p.y()));
        return picture.valid(x, y) && qGray(picture.pixel(x, y)) < 128;
    };
    // Out from the tick's end, line by line, until a gap wider than any
    // between letters: the lines the label takes, looked for within a band
    // along the axis.
    const int start = int(std::ceil(axis.ticks[tick].reach)) + 2;
    const int deepest = start + std::max(30, std::min(picture.width(), picture.height()) / 5);
    int first = -1, last = -1;
    const auto lines = [&](double from, double to, int gap) {
        first = -1, last = -1;
        for (int d = start, blank = 0; d < deepest && blank <= gap; ++d) {
            bool any = false;
            for (double s = from; s <= to && !any; s += 1)
                any = ink(d, s);
            if (any)
                first = first < 0 ? d : first, last = d, blank = 0;
            else
                blank += first >= 0;
        }
    };
    double low = half, high = -half;
    const auto extent = [&](double from, double to) {
        low = to, high = from;
        for (int d = first; d <= last; ++d)
            for (double s = from; s <= to; s += 1)
                if (ink(d, s))
                    low = std::min(low, s), high = std::max(high, s);
    };
    lines(-half, half, std::max(4, int(half / 5)));
    if (first < 0)
        return {};
    extent(-half, half);
    // Ticks closer together than the letters are high (the minor ticks of a
    // log axis) cut the label at the band's edge: there it grows on while
    // its lines across hold ink, and is looked for again, until whole.
    if (low <= -half + 1 || high >= half - 1) {
        const auto across = [&](double s) {
            for (int d = first; d <= last; ++d)
                if (ink(d, s))
                    return true;
            return false;
        };
        const double reach = std::max(half, length / 10);
        for (int round = 0; round < 4; ++round) {
            const double wasLow = low, wasHigh = high;
            while (low > -reach && across(low - 1))
                low -= 1;
            while (high < reach && across(high + 1))
                high += 1;
            const double grownLow = low, grownHigh = high;
            lines(grownLow, grownHigh, std::max(4, int(high - low + 1) / 2));
            extent(grownLow, grownHigh);
            if (low == wasLow && high == wasHigh)
                break;
        }
        // A label nearer another tick is that tick's.
        const double middle = (low + high) / 2;
        for (std::size_t other : {tick - 1, tick + 1})
            if (other < axis.ticks.size() &&
                std::abs(middle - QPointF::dotProduct(axis.ticks[other].pixel - at, along)) < std::abs(middle))
                return {};
    }
    QPolygonF corners;
    for (const double d : {double(first), double(last)})
        for (const double s : {low, high})
            corners << at + d * out + s * along;
    return corners.boundingRect().adjusted(-2, -2, 3, 3).toAlignedRect().intersected(picture.rect());
}

LabelOcr::LabelOcr(const QString& dataDir) : api_(std::make_unique<tesseract::TessBaseAPI>())
{
    const QByteArray dir = dataDir.toLocal8Bit();
    if (api_->Init(dataDir.isEmpty() ? nullptr : dir.constData(), "eng", tesseract::OEM_LSTM_ONLY) != 0) {
        error_ = QStringLiteral("Tesseract's English language file (eng.traineddata) is missing: install the "
                                "Debian package tesseract-ocr-eng.");
        return;
    }
    api_->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    api_->SetVariable("tessedit_char_whitelist", "0123456789.,-+eE×x^:");
    api_->SetVariable("debug_file", "/dev/null");
}

LabelOcr::~LabelOcr() = default;

QString LabelOcr::readLine(const QImage& crop, bool standing)
{
    if (!error_.isEmpty() || crop.isNull())
        return {};
    const OneThread alone;
    auto read = [&](const QImage& upright, int* confidence) {
        const QImage prepared = Prepared(upright);
        api_->SetImage(prepared.constBits(), prepared.width(), prepared.height(), 1, int(prepared.bytesPerLine()));
        api_->SetSourceResolution(300);
        const std::unique_ptr<char[]> text(api_->GetUTF8Text());
        *confidence = api_->MeanTextConf();
        return QString::fromUtf8(text.get()).trimmed();
    };
    // A raised exponent is read on its own, since Tesseract sets it on the
    // line ("10" and "3" as "103"); it is written back as "10^3".
    auto readRaised = [&](const QImage& upright, int* confidence) {
        const QRect raised = Raised(upright);
        if (raised.isEmpty())
            return read(upright, confidence);
        int power = 0;
        const QString base = read(upright.copy(0, 0, raised.left(), upright.height()), confidence);
        const QString exponent = read(upright.copy(raised), &power);
        *confidence = std::min(*confidence, power);
        return base + '^' + exponent;
    };
    int confidence = 0;
    if (!standing)
        return readRaised(crop, &confidence);
    // Read both ways up, keep the surer.
    int other = 0;
    const QString up = readRaised(crop.transformed(QTransform().rotate(90)), &confidence);
    const QString down = readRaised(crop.transformed(QTransform().rotate(-90)), &other);
    return confidence >= other ? up : down;
}

std::vector<LabelledTick> LabelOcr::readAxis(const QImage& picture, const FoundAxis& axis, CancelToken* cancel,
                                             const std::function<void()>& read)
{
    std::vector<QRect> boxes;
    std::size_t tall = 0, found = 0;
    int shortest = std::numeric_limits<int>::max(), tallest = 0, narrowest = shortest, widest = 0;
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        boxes.push_back(LabelBox(picture, axis, i));
        const QRect& b = boxes.back();
        if (b.isEmpty())
            continue;
        ++found;
        tall += b.height() > 1.3 * b.width();
        shortest = std::min(shortest, b.height()), tallest = std::max(tallest, b.height());
        narrowest = std::min(narrowest, b.width()), widest = std::max(widest, b.width());
    }
    // The labels of one axis all stand on end or none. Their letters are
    // all as high, so labels of different lengths differ along the line
    // they are written on; labels all as long tell only by their shape.
    const int heights = found ? tallest - shortest : 0, widths = found ? widest - narrowest : 0;
    const bool standing = heights > 2 * widths + 2 || (widths <= 2 * heights + 2 && 2 * tall > found);
    std::vector<LabelledTick> labels;
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        if (cancel && cancel->isCancelled())
            return {};
        labels.push_back(
            {axis.ticks[i].pixel, boxes[i].isEmpty() ? QString() : readLine(picture.copy(boxes[i]), standing)});
        if (read)
            read();
    }
    return labels;
}

} // namespace tracella
