#pragma once

#include "support/Expect.h"
#include "support/TestApp.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tracella::test {

// A control of the data window by its name.
template <typename W>
W* DataControl(const char* name)
{
    return Child<W>(&DataForm(), name);
}

inline QLineEdit* Edit(const char* name)
{
    return DataControl<QLineEdit>(name);
}

// Points as the mouse gives them: single precision.
inline void AddPoints(const std::vector<std::pair<double, double>>& points)
{
    for (const auto& [x, y] : points)
        DataForm().AppendPointRow({x, true}, {y, true});
}

// The texts of one column of the data rows.
inline QStringList DataColumn(int column)
{
    const GridModel& grid = DataForm().grid();
    QStringList texts;
    for (int r = 1; r < grid.rowCount(); ++r)
        texts << grid.cell(r, column);
    return texts;
}

inline void Activate(QWidget* form)
{
    app().main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
}

// A white picture on the surface, spanning the uncalibrated frame 0 ... 10.
inline PictureSurface& WhiteSurface()
{
    PictureSurface& surface = *app().document->surface();
    surface.setPicture(Picture{PlainPicture(QSize(200, 200)), PictureKind::Bitmap, {}});
    surface.setFrame(BaseFrame);
    surface.setPenWidth(1);
    return surface;
}

inline QColor SurfaceColourAt(const PictureSurface& surface, double x, double y)
{
    const QImage image = surface.composedImage();
    const QPointF p = FrameToPixel(surface.frame(), image.size(), x, y);
    return image.pixelColor(qRound(p.x()), qRound(p.y()));
}

} // namespace tracella::test
