#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

DocumentWindow& document()
{
    return *app().document;
}

// Pastes a plain picture of the size as the document.
PictureSurface& pastePicture(TestApp& t, QSize size)
{
    return t.paste(PlainPicture(size, QColor(250, 250, 240)));
}

int gridRows()
{
    return app().data->grid().rows().rowCount();
}

void appendPoints(int count)
{
    for (int i = 0; i < count; ++i)
        app().data->AppendPointRow({1.0 + i, true}, {2.0 + i, true});
}

QColor textColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

TEST(DocumentWindow, LoadsAtItsShareOfTheScreenWithTheImageToolbarOnTop)
{
    TestApp t;
    DocumentWindow& d = document();
    EXPECT_EQ(d.objectName(), QStringLiteral("frmDocument"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Picture"));
    const QRect screen = t.services().screen.geometry();
    const QWidget* outer = d.parentWidget();
    EXPECT_EQ(outer->width(), static_cast<int>(0.53 * screen.width()));
    EXPECT_EQ(outer->height(), static_cast<int>(0.45 * screen.height()));

    for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4", "HScroll1", "VScroll1"})
        EXPECT_NE(d.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(d.findChildren<QLabel*>(QStringLiteral("lblbutton")).size(), 4);
    const char* const captions[] = {"Save Picture", "Undo Last Point", "Undo Rotate", "Rotate"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.labelButton(i)->text(), QString::fromLatin1(captions[i]));
        EXPECT_EQ(textColour(d.labelButton(i)), QColor(0, 0, 0));
    }
    // Left to right: index 3 first.
    EXPECT_LT(d.labelButton(3)->x(), d.labelButton(2)->x());
    EXPECT_LT(d.labelButton(2)->x(), d.labelButton(1)->x());
    EXPECT_LT(d.labelButton(1)->x(), d.labelButton(0)->x());

    // The strip runs along the top, the viewport below it; no picture, no bars.
    EXPECT_EQ(d.imageToolbar()->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(d.imageToolbar()->width(), d.width());
    EXPECT_EQ(d.viewport()->y(), d.imageToolbar()->height());
    EXPECT_FALSE(d.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(d.verticalScrollBar()->isVisible());
}

TEST(DocumentWindow, ScrollBarsShowOnlyWhereThePictureOverhangs)
{
    TestApp t;
    DocumentWindow& d = document();
    const QSize view = d.viewport()->size();
    // The viewport leaves room for both bars, shown or not.
    EXPECT_EQ(view.width(), d.width() - d.verticalScrollBar()->width());
    EXPECT_EQ(d.horizontalScrollBar()->geometry(), QRect(0, d.viewport()->geometry().bottom() + 1, view.width(),
                                                         d.horizontalScrollBar()->height()));
    EXPECT_EQ(d.verticalScrollBar()->geometry(),
              QRect(view.width(), d.viewport()->y(), d.verticalScrollBar()->width(), view.height()));

    PictureSurface& small = pastePicture(t, QSize(120, 80));
    EXPECT_EQ(small.geometry(), QRect(0, 0, 120, 80));
    EXPECT_FALSE(d.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(d.verticalScrollBar()->isVisible());

    PictureSurface& wide = pastePicture(t, QSize(view.width() + 300, view.height()));
    EXPECT_TRUE(d.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(d.verticalScrollBar()->isVisible());
    EXPECT_EQ(d.horizontalScrollBar()->minimum(), 0);
    EXPECT_EQ(d.horizontalScrollBar()->maximum(), 300);
    EXPECT_EQ(wide.pos(), QPoint(0, 0));
}

TEST(DocumentWindow, ScrollingMovesThePictureButNotItsReadings)
{
    TestApp t;
    DocumentWindow& d = document();
    PictureSurface& s = pastePicture(t, QSize(3000, 2000));
    ASSERT_TRUE(d.horizontalScrollBar()->isVisible());
    ASSERT_TRUE(d.verticalScrollBar()->isVisible());

    QSignalSpy pressed(&s, &PictureSurface::mousePressed);
    const QPoint pixel(1500, 1200);
    d.horizontalScrollBar()->setValue(1400);
    d.verticalScrollBar()->setValue(1100);
    EXPECT_EQ(s.pos(), QPoint(-1400, -1100));
    QTest::mouseClick(&s, Qt::LeftButton, Qt::NoModifier, pixel);
    d.horizontalScrollBar()->setValue(0);
    QTest::mouseClick(&s, Qt::LeftButton, Qt::NoModifier, pixel);
    ASSERT_EQ(pressed.size(), 2);
    for (const QList<QVariant>& press : pressed) {
        const auto p = press.at(0).value<FramePoint>();
        EXPECT_FLOAT_EQ(p.x, 5.0f);            // 1500 of 3000 across 0 ... 10
        EXPECT_FLOAT_EQ(p.y, 10.0f - 6.0f);    // 1200 of 2000 down 10 ... 0
    }

    // A resize lays the window out afresh: the picture goes back to the corner.
    d.verticalScrollBar()->setValue(500);
    d.parentWidget()->resize(d.parentWidget()->size() + QSize(40, 30));
    TestApp::settle();
    EXPECT_EQ(s.pos(), QPoint(0, 0));
    EXPECT_EQ(d.verticalScrollBar()->value(), 0);
    EXPECT_EQ(d.horizontalScrollBar()->maximum(), 3000 - d.viewport()->width());
}

TEST(DocumentWindow, LabelButtonsTurnBlueWhilePressedAndRunTheirCommands)
{
    TestApp t;
    DocumentWindow& d = document();
    QLabel* rotate = d.labelButton(3);

    // With no command of the name, a click does nothing.
    app().commands = CommandRouter{};
    QTest::mouseClick(rotate, Qt::LeftButton);
    EXPECT_EQ(textColour(rotate), QColor(0, 0, 0));

    std::vector<QString> ran;
    for (const char* name : {"RotateDocumentPicture", "UndoRotate", "SaveDocumentPicture"})
        app().commands.add(QString::fromLatin1(name), [&ran, name] { ran.push_back(QString::fromLatin1(name)); });

    QTest::mousePress(rotate, Qt::LeftButton);
    EXPECT_EQ(textColour(rotate), QColor(0, 0, 255));
    EXPECT_TRUE(ran.empty()); // the click comes with the release
    QTest::mouseRelease(rotate, Qt::LeftButton);
    EXPECT_EQ(textColour(rotate), QColor(0, 0, 0));

    QTest::mouseClick(d.labelButton(2), Qt::LeftButton);
    QTest::mouseClick(d.labelButton(0), Qt::LeftButton);
    // Released away from the label: colour back to black, no command.
    QTest::mousePress(d.labelButton(0), Qt::LeftButton);
    QTest::mouseRelease(d.labelButton(0), Qt::LeftButton, Qt::NoModifier, QPoint(-30, 5));
    EXPECT_EQ(textColour(d.labelButton(0)), QColor(0, 0, 0));
    // Right and middle buttons colour the text but click nothing.
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(rotate, other);
        EXPECT_EQ(textColour(rotate), QColor(0, 0, 255));
        QTest::mouseRelease(rotate, other);
        EXPECT_EQ(textColour(rotate), QColor(0, 0, 0));
    }
    EXPECT_EQ(ran, (std::vector<QString>{"RotateDocumentPicture", "UndoRotate", "SaveDocumentPicture"}));
}

TEST(DocumentWindow, Picture4HidesTheImageToolbarAndTheViewportTakesItsPlace)
{
    TestApp t;
    DocumentWindow& d = document();
    QAction* item = t.main().action(QStringLiteral("mnuViewImageToolbar"));
    ASSERT_TRUE(item->isChecked());
    pastePicture(t, QSize(2000, 2000));
    const int fullHeight = d.viewport()->height();

    QTest::mouseClick(d.findChild<QWidget*>(QStringLiteral("Picture4")), Qt::RightButton);
    EXPECT_FALSE(d.imageToolbar()->isHidden());
    QTest::mouseClick(d.findChild<QWidget*>(QStringLiteral("Picture4")), Qt::LeftButton);
    EXPECT_TRUE(d.imageToolbar()->isHidden());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(d.viewport()->y(), 0);
    EXPECT_EQ(d.viewport()->height(), fullHeight + d.imageToolbar()->height());
    EXPECT_EQ(d.verticalScrollBar()->maximum(), 2000 - d.viewport()->height());

    t.run(QStringLiteral("mnuViewImageToolbar"));
    EXPECT_FALSE(d.imageToolbar()->isHidden());
    EXPECT_EQ(d.viewport()->y(), d.imageToolbar()->height());
}

TEST(DocumentWindow, TheMouseOffThePictureStopsTheZoomFollowing)
{
    TestApp t;
    DocumentWindow& d = document();
    pastePicture(t, QSize(50, 40));
    AppState& s = appState();

    const auto moveOver = [&s](QWidget* w, QPoint at) {
        s.MouseOverPicture = true;
        QTest::mouseMove(w, at);
        TestApp::settle();
        return s.MouseOverPicture;
    };
    EXPECT_FALSE(moveOver(d.viewport(), QPoint(200, 150))); // the viewport beyond the picture
    EXPECT_FALSE(moveOver(d.imageToolbar(), QPoint(300, 10)));
    EXPECT_FALSE(moveOver(d.labelButton(1), QPoint(5, 5)));

    // Losing the focus to another window clears it too.
    t.activate(&document());
    d.surface()->setFocus();
    TestApp::settle();
    s.MouseOverPicture = true;
    app().data->setFocus();
    TestApp::settle();
    EXPECT_FALSE(s.MouseOverPicture);
}

TEST(DocumentWindow, EscRemovesTheLastPointWhenEscUndoAllows)
{
    TestApp t;
    DocumentWindow& d = document();
    PictureSurface& s = pastePicture(t, QSize(200, 100));
    appendPoints(3);
    ASSERT_EQ(gridRows(), 4);
    t.activate(&document());

    appState().EscUndo = true;
    QTest::keyClick(&s, Qt::Key_Escape);
    EXPECT_EQ(gridRows(), 3);
    EXPECT_EQ(app().data->grid().rows().cell(2, 0).trimmed(), QStringLiteral("2"));

    appState().EscUndo = false;
    QTest::keyClick(&s, Qt::Key_Escape);
    EXPECT_EQ(gridRows(), 3);

    // The button works whatever EscUndo says, and leaves it as it was.
    QTest::mouseClick(d.labelButton(1), Qt::LeftButton);
    EXPECT_EQ(gridRows(), 2);
    EXPECT_FALSE(appState().EscUndo);
    EXPECT_TRUE(s.hasFocus());

    // Nothing but the header row: it is selected and stays.
    QTest::mouseClick(d.labelButton(1), Qt::LeftButton);
    EXPECT_EQ(gridRows(), 1);
    QTest::mouseClick(d.labelButton(1), Qt::LeftButton);
    EXPECT_EQ(gridRows(), 1);
    EXPECT_EQ(app().data->grid().rows().cell(0, 1), QStringLiteral("= X Axis ="));
    EXPECT_TRUE(t.services().messages.shown.empty()); // no question from the picture window
}
