#include "extract/widgets/TraceCommand.h"

#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/Sounds.h"
#include "app/widgets/UnexpectedError.h"
#include "calibration/ActiveCalibration.h"
#include "calibration/FrameMapping.h"
#include "calibration/widgets/RecordPoint.h"
#include "data/GridRows.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "extract/CurveFollow.h"
#include "extract/ExtractMessages.h"
#include "extract/TraceView.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <exception>
#include <new>

namespace tracella {
namespace {

bool Refuse(const QString& reason)
{
    ShowMessage(TraceRefusedMessage(reason));
    return false;
}

// The part of the picture to search, or nullopt after saying why there is none.
std::optional<QRect> SearchRegion(const TraceRequest& request, const QRect& picture)
{
    if (!request.region)
        return picture;
    if (request.region->isEmpty()) {
        Refuse(QStringLiteral("The search region is empty: drag a region on the picture, or search the whole "
                              "picture."));
        return std::nullopt;
    }
    const QRect clipped = *request.region & picture;
    if (clipped.isEmpty()) {
        Refuse(QStringLiteral("The search region lies outside the picture."));
        return std::nullopt;
    }
    return clipped;
}

// The frame value at a trace position. A click on pixel i reads the frame at
// i, while the trace puts the middle of pixel i at i + 0.5: half a pixel back.
double FrameAtTrace(double start, double end, int extent, double position)
{
    return start + (position - 0.5) * (end - start) / extent;
}

TraceAxisSpan SpanOf(TraceAxis axis, const Frame& f, QSize size, const QRect& region)
{
    const AppState& s = appState();
    const auto span = [](double start, double end, int extent, bool log, int first, int count) {
        return TraceAxisSpan{extent, FrameAtTrace(start, end, extent, 0), FrameAtTrace(start, end, extent, extent),
                             log, first, first + count};
    };
    if (axis == TraceAxis::X)
        return span(f.left, f.right, size.width(), s.XAxisLog, region.left(), region.width());
    return span(f.top, f.bottom, size.height(), s.YAxisLog, region.top(), region.height());
}

// The follow's points as a trace's; count -1 after saying why there are none.
TraceResult Follow(const QImage& picture, const TraceSettings& trace, QPointF from, const TraceRequest& request)
{
    FollowSettings s;
    s.colour = trace.colour;
    s.backdrop = trace.backdrop;
    s.tolerance = trace.tolerance;
    s.start = from;
    s.region = trace.region;
    s.axis = trace.axis;
    s.keep = trace.keep;
    if (request.unit == StepUnit::DataUnits)
        s.samples = trace.samples;
    else
        s.step = request.step;
    const FollowResult followed = FollowCurve(picture, s);
    TraceResult result;
    switch (followed.outcome) {
    case FollowResult::Outcome::NoInk:
        Refuse(QStringLiteral("The color was not found within the tolerance at the picked point."));
        result.count = -1;
        return result;
    case FollowResult::Outcome::NoCurve:
        Refuse(QStringLiteral("The color at the picked point forms no line to follow: pick on the curve itself."));
        result.count = -1;
        return result;
    case FollowResult::Outcome::Followed: break;
    }
    result.count = followed.count;
    result.points = followed.points;
    return result;
}

QString TimeNow()
{
    return TimeOfDayText(services().clock->now().time());
}

} // namespace

std::int64_t TraceDocumentPicture(const TraceRequest& request)
{
    PictureSurface* surface = app().document ? app().document->surface() : nullptr;
    if (!surface || !surface->hasPicture())
        return Refuse(QStringLiteral("There is no picture to trace."));
    const std::optional<QRect> searched = SearchRegion(request, surface->picture().image.rect());
    if (!searched)
        return 0;

    const AppState& s = appState();
    const AffineCalibration* affine = activeCalibration().affine();
    // Positions are read in the frame the surface holds, as clicks are.
    const TraceView view = affine ? AxisAlignedView(surface->picture().image, *searched, *affine)
                                  : TraceView{surface->picture().image, *searched, SurfaceFrame(s.frame()), {}, {}};
    const QImage& picture = view.picture;
    const QRect& region = view.region;
    const Frame frame = view.frame;
    TraceSettings settings;
    settings.colour = request.colour;
    settings.backdrop = surface->backdrop();
    settings.tolerance = request.tolerance;
    settings.axis = s.SplineOnX ? TraceAxis::X : TraceAxis::Y;
    settings.shape = request.shape;
    settings.region = region;
    if (request.shape == TraceShape::Curve) {
        auto samples = TraceSamples(SpanOf(settings.axis, frame, picture.size(), region), request.step, request.unit);
        if (!samples)
            return Refuse(QStringLiteral("The step must be a number above 0 that gives at most %1 steps.")
                              .arg(MaxTraceSamples));
        if (samples->empty())
            return Refuse(QStringLiteral("The step gives no position inside the search region."));
        settings.samples = std::move(*samples);
    }
    DataWindow& data = DataForm();
    settings.keep = MaxGridRowCount - data.grid().rowCount();
    const TraceResult result = request.followFrom
                                   ? Follow(picture, settings, view.fromPicture.map(*request.followFrom), request)
                                                  : TraceCurve(picture, settings);
    if (result.count < 0)
        return 0;
    if (result.count == 0)
        return Refuse(QStringLiteral("The color was not found within the tolerance in the search region."));
    if (result.count > settings.keep || result.countIsLowerBound) {
        ShowMessage(TraceTooManyMessage(result.count, result.countIsLowerBound, settings.keep));
        return 0;
    }

    for (const TracePoint& p : result.points) {
        const QPointF at = affine ? view.toSurface.map(QPointF(p.x, p.y))
                                  : QPointF(FrameAtTrace(frame.left, frame.right, picture.width(), p.x),
                                            FrameAtTrace(frame.top, frame.bottom, picture.height(), p.y));
        const double x = at.x(), y = at.y();
        RecordPoint({x, false}, {y, false}, true);
        surface->drawDot(x, y, s.ARPointColor);
    }
    return result.count;
}

void TraceCurveCommand(const TraceRequest& request)
{
    const UndoStep step(QStringLiteral("Trace"));
    try {
        const QString startTime = TimeNow();
        std::int64_t stored = 0;
        {
            BusyPointer busy(Qt::WaitCursor);
            stored = TraceDocumentPicture(request);
        }
        if (stored == 0)
            return;
        const QString endTime = TimeNow();
        PlayResourceSound(ClickSound);
        ShowMessage(TraceReportMessage(stored, startTime, endTime));
    } catch (const std::bad_alloc&) {
        ShowUnexpectedError({ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")});
    } catch (const std::exception& e) {
        ShowUnexpectedError({ErrorNumber::InvalidArgument, QString::fromLocal8Bit(e.what())});
    }
}

} // namespace tracella
