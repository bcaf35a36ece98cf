// The scanner command against the real SANE library configured with no
// backend at all (sane/empty): SANE starts, but there is nothing to scan with.

#include "acquire/widgets/Scanner.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::TestApp;

TEST(SaneNoScanner, TheCommandSaysTheScannerIsNotAvailableAndLeavesTheClipboard)
{
    qputenv("SANE_CONFIG_DIR", TRACELLA_SANE_CONFIG_DIR);
    TestApp t;
    t.services().clipboard.setText(QStringLiteral("kept"));
    t.services().messages.answer(MessageAnswer::Ok);

    t.run(QStringLiteral("mnuPictureScanner"));

    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    EXPECT_EQ(t.services().messages.shown[0].text, QStringLiteral("Scanner not available."));
    EXPECT_EQ(t.services().messages.shown[0].title, QStringLiteral("Check Scanner Availability"));
    EXPECT_EQ(t.services().messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(t.services().clipboard.text(), QStringLiteral("kept"));
    // SANE itself started: its version is still there for the about box.
    EXPECT_GE(scanner().Version(), 100);
}
