#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace tracella::test {

// Text drawn on generated pictures needs fonts, which need an application:
// a window-less one for a logic test; a window test has its own already.
class OffscreenFonts : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tracella_test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

inline const ::testing::Environment* const OffscreenFontsInUse =
    ::testing::AddGlobalTestEnvironment(new OffscreenFonts);

} // namespace tracella::test
