#pragma once

#include "extract/ExtractGuiSupport.h"
#include "support/Expect.h"

#include "app/widgets/MainWindow.h"
#include "calibration/ActiveCalibration.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace tracella::test {

// A control of the panel by its name; a missing one fails the test.
template <typename T>
T& Control(QWidget& panel, const char* name)
{
    return *Child<T>(&panel, name);
}

// The Scale by Axes panel as the command opens it; null when it did not open.
inline QWidget* OpenScaleAxes(TestApp& t, const char* command = "mnuPictureScaleAxes")
{
    t.run(QString::fromLatin1(command));
    return t.main().findChild<QWidget*>(QStringLiteral("frmScaleAxes"));
}

} // namespace tracella::test
