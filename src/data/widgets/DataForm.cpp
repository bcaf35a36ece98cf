#include "data/widgets/DataForm.h"

#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"

#include <QMdiSubWindow>

namespace tracella {

DataWindow& DataForm()
{
    if (!app().data) {
        auto* data = new DataWindow;
        app().data = data;
        data->Form_Load();
        if (app().main)
            app().main->addChildWindow(data)->show();
    }
    return *app().data;
}

Colour CurrentCurveColour()
{
    const CurveDocument& curves = app().curves;
    return curves.colourOf(curves.currentIndex(), appState().PointsColor);
}

} // namespace tracella
