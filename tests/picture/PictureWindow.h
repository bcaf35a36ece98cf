#pragma once

#include "PictureSamples.h"
#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureCommands.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tracella::test {

// What the document window's tests share: the document, its surface, the
// status panels, the grid, and the import of a file written on the spot.

inline PictureSurface& surface()
{
    return TestApp::surface();
}

inline DocumentWindow& document()
{
    return *app().document;
}

inline QString panel(TestApp& t, int n)
{
    return t.main().statusPanels()->panelText(n);
}

inline int gridRows()
{
    return app().data->grid().rows().rowCount();
}

inline void import(TestApp& t, const QString& path)
{
    t.services().files.choose(path, PictureImportFilterIndex);
    t.run(QStringLiteral("mnuPictureImport"));
}

// Everything an import may touch, to tell that nothing was.
struct DocumentState {
    QImage picture;
    int markers = 0;
    double refX1 = 0;
    QString dataFile;
    QString picturePanel;

    static DocumentState of(TestApp& t)
    {
        return {surface().picture().image, surface().markerCount(), appState().RefX1, appState().DataFileName,
                panel(t, 2)};
    }
    bool operator==(const DocumentState&) const = default;
};

// An earlier document with a point, a calibration and a data file.
inline QString openEarlierDocument(TestApp& t, const QTemporaryDir& dir)
{
    const QString path = writeFile(dir, QStringLiteral("earlier.png"), EncodedWithQt(CornerTestImage(), "png"));
    import(t, path);
    surface().drawDot(5, 5, Rgb(255, 0, 0));
    appState().RefX1 = 3;
    appState().DataFileName = QStringLiteral("points.dat");
    return path;
}

} // namespace tracella::test
