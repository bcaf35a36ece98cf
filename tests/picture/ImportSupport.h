#pragma once

#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureCommands.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tracella::test {

// What the import tests share: the document's surface, the status panels,
// files written on the spot and the import of one of them.

inline PictureSurface& surface()
{
    return TestApp::surface();
}

inline QString panel(TestApp& t, int n)
{
    return t.main().statusPanels()->panelText(n);
}

inline void import(TestApp& t, const QString& path)
{
    t.services().files.choose(path, PictureImportFilterIndex);
    t.run(QStringLiteral("mnuPictureImport"));
}

} // namespace tracella::test
