#include "calibration/widgets/PointPicking.h"
#include "data/widgets/DataForm.h"

#include "app/core/AppState.h"
#include "app/core/NumberReading.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "calibration/widgets/RecordPoint.h"
#include "calibration/widgets/ScaleCommands.h"
#include "picture/widgets/PictureSurface.h"

namespace tracella {
namespace {

const QString ScaleModeTitle = QStringLiteral("Scale Mode");

// Asks for one reference value; Cancel or an empty reply reads as 0 after
// the CANCEL message.
double askReferenceValue(char axis)
{
    const AppState& s = appState();
    const bool log = axis == 'X' ? s.XAxisLog : s.YAxisLog;
    const QString a = QString(QChar::fromLatin1(axis));
    const QString messageText = a + (log ? QStringLiteral(" axis is Log") : QStringLiteral(" axis is Linear"));
    const QString prompt = QStringLiteral("Please input the %1 value of the selected point.\r\n\r\nPoint 1 - %1 Value\r\n")
                               .arg(a) +
                           messageText;
    const QString reply = services().input->ask(prompt, QStringLiteral("%1 value of Point 1").arg(a), QString());
    if (reply.isEmpty()) {
        ShowMessage(QStringLiteral("You have pressed CANCEL.\r\nYou will need to select your points again.\r\n"
                                   "Meanwhile zero will be used."),
                    QString(), MessageIcon::Information);
    }
    return LeadingNumber(reply);
}

bool askYesNo(const QString& text)
{
    return ShowMessage(text, ScaleModeTitle, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void scaleModeClick(PictureSurface& surface, FramePoint p)
{
    AppState& s = appState();
    surface.drawDefaultDot(p.x, p.y);
    if (s.RefX1 == NotScaled) {
        s.RefPx1 = p.x;
        s.RefPy1 = p.y;
        surface.drawDot(p.x, p.y, s.ScaleColor);
        s.RefX1 = askReferenceValue('X');
        s.RefY1 = askReferenceValue('Y');
    } else if (s.RefX2 == NotScaled) {
        s.RefPx2 = p.x;
        s.RefPy2 = p.y;
        surface.drawDot(p.x, p.y, s.ScaleColor);
        s.RefX2 = askReferenceValue('X');
        s.RefY2 = askReferenceValue('Y');
        if (askYesNo(QStringLiteral("Exit scale mode and scale picture?")))
            LeaveScaleMode();
    } else if (askYesNo(QStringLiteral("You are in scale mode and you've already selected two points.\r\n"
                                       "Do you want to exit Scale Mode before trying to save data points?"))) {
        LeaveScaleMode();
    } else if (askYesNo(QStringLiteral("Do you want to reset your selected (X,Y) values used for scaling?"))) {
        appState().RefX1 = NotScaled;
        appState().RefX2 = NotScaled;
    }
}

// The points a right-button drag collects are one step, until the button
// is let go.
std::optional<UndoStep>& dragStep()
{
    static std::optional<UndoStep> step;
    return step;
}

void mouseDown(PictureSurface& surface, FramePoint p, int button)
{
    if (appState().ScaleModeOn) {
        scaleModeClick(surface, p);
        return;
    }
    if (button == 2 && !dragStep())
        dragStep().emplace(QStringLiteral("Points"));
    const UndoStep step(QStringLiteral("Point"));
    surface.drawDot(p.x, p.y, CurrentCurveColour());
    RecordPoint({p.x, true}, {p.y, true}, true);
    surface.setFocus(); // so that Esc reaches the document window
}

void mouseMove(PictureSurface& surface, FramePoint p, int buttons)
{
    appState().MouseOverPicture = true;
    if (buttons != 2) { // only the right button alone collects
        dragStep().reset();
        RecordPoint({p.x, true}, {p.y, true}, false);
        return;
    }
    if (!dragStep())
        dragStep().emplace(QStringLiteral("Points"));
    if (appState().ScaleModeOn &&
        askYesNo(QStringLiteral("You are in scale mode. Do you want to exit Scale Mode before trying to save "
                                "data points?")))
        LeaveScaleMode();
    surface.drawDot(p.x, p.y, CurrentCurveColour());
    RecordPoint({p.x, true}, {p.y, true}, true);
}

} // namespace

void ConnectPointPicking(PictureSurface& surface)
{
    QObject::connect(&surface, &PictureSurface::mousePressed, &surface,
                     [&surface](FramePoint p, int button) { mouseDown(surface, p, button); });
    QObject::connect(&surface, &PictureSurface::mouseMoved, &surface,
                     [&surface](FramePoint p, int buttons) { mouseMove(surface, p, buttons); });
    QObject::connect(&surface, &PictureSurface::mouseReleased, &surface, [] { dragStep().reset(); });
}

} // namespace tracella
