// The scanner command against the real SANE library and its virtual "test"
// scanner, configured in sane/test: a 40 x 30 mm colour page at one pixel a
// millimetre with a black and white grid of 10 mm squares.

#include "acquire/widgets/Scanner.h"
#include "acquire/widgets/SourceDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::TestApp;

namespace {

// Picks a source in the source dialog once it is shown.
void ChooseSourceWhenAsked(const QString& name)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, name] {
        auto* dialog = qobject_cast<SourceDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lstSources"));
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().endsWith(QStringLiteral("(") + name + QStringLiteral(")")))
                list->setCurrentRow(row);
        }
        dialog->findChild<QPushButton*>(QStringLiteral("cmdSelect"))->click();
    });
    poll->start(10);
}

} // namespace

TEST(SaneScanner, APageFromTheTestScannerBecomesTheDocumentPicture)
{
    qputenv("SANE_CONFIG_DIR", TRACELLA_SANE_CONFIG_DIR); // read once, at SANE's first start
    EXPECT_EQ(scanner().IsAvailable(), 1);
    TestApp t;
    ChooseSourceWhenAsked(QStringLiteral("test:0"));

    t.run(QStringLiteral("mnuPictureScanner"));

    EXPECT_EQ(scanner().currentSource(), QStringLiteral("test:0"));
    EXPECT_EQ(t.main().statusPanels()->panelText(2), QStringLiteral("Clipboard Picture"));
    const QImage page = app().document->surface()->picture().image;
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page, t.services().clipboard.image());
    // 40 x 30 mm at one pixel a millimetre; SANE may round the last one off.
    EXPECT_NEAR(page.width(), 40, 1);
    EXPECT_NEAR(page.height(), 30, 1);
    // The middle of each 10 mm square: white where column + row is even.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRgb expected = (row + column) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            EXPECT_EQ(page.pixel(10 * column + 5, 10 * row + 5), expected) << "square " << column << ", " << row;
        }
    }
}
