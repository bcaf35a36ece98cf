#include "data/widgets/DataCommands.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"

#include <QColor>

namespace tracella {
namespace {

const QString CurvesTitle = QStringLiteral("Curves");

void Refuse(const QString& reason)
{
    ShowMessage(reason, CurvesTitle, MessageIcon::Exclamation);
}

// The user's name for a curve; nothing when cancelled. A reply of blanks
// alone is no cancel: it is refused as an empty name.
std::optional<QString> AskName(const QString& prompt, const QString& title, const QString& proposed)
{
    const QString reply = services().input->ask(prompt, title, proposed);
    if (reply.isEmpty())
        return std::nullopt;
    return reply;
}

void ChangeCurves(const std::function<std::optional<QString>(CurveDocument&)>& change)
{
    std::optional<QString> refused;
    DataForm().changeCurves([&](CurveDocument& curves) { refused = change(curves); });
    if (refused)
        Refuse(*refused);
}

void AddCurveCommand()
{
    const auto name =
        AskName(QStringLiteral("Name of the new curve:"), QStringLiteral("Add Curve"), app().curves.freeName());
    if (name)
        ChangeCurves([&](CurveDocument& curves) { return curves.add(*name); });
}

void RenameCurveCommand()
{
    const Curve& current = app().curves.current();
    const auto name = AskName(QStringLiteral("New name of the curve \"%1\":").arg(current.name),
                              QStringLiteral("Rename Curve"), current.name);
    if (name)
        ChangeCurves([&](CurveDocument& curves) { return curves.rename(curves.currentIndex(), *name); });
}

void DeleteCurveCommand()
{
    const CurveDocument& curves = app().curves;
    if (curves.count() == 1) {
        Refuse(*app().curves.remove(0));
        return;
    }
    const Curve& current = curves.current();
    const int points = current.rows.dataRowCount();
    if (points > 0 &&
        ShowMessage(QStringLiteral("Delete the curve \"%1\" and its %2 point(s)?").arg(current.name).arg(points),
                    QStringLiteral("Delete Curve"), MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No)
        return;
    ChangeCurves([](CurveDocument& c) { return c.remove(c.currentIndex()); });
}

void CurveColourCommand()
{
    const CurveDocument& curves = app().curves;
    const Colour now = curves.colourOf(curves.currentIndex(), appState().PointsColor);
    const std::optional<QColor> picked = services().colours->pick(QColor(RedOf(now), GreenOf(now), BlueOf(now)));
    if (!picked || !picked->isValid())
        return;
    const Colour chosen = Rgb(picked->red(), picked->green(), picked->blue());
    ChangeCurves([chosen](CurveDocument& c) {
        c.setColour(c.currentIndex(), chosen);
        return std::nullopt;
    });
}

} // namespace

void RegisterCurveCommands()
{
    CommandRouter& c = app().commands;
    c.add(QStringLiteral("mnuDataCurveAdd"), AddCurveCommand);
    c.add(QStringLiteral("mnuDataCurveRename"), RenameCurveCommand);
    c.add(QStringLiteral("mnuDataCurveDelete"), DeleteCurveCommand);
    c.add(QStringLiteral("mnuDataCurveColour"), CurveColourCommand);
}

} // namespace tracella
