// Rounds of ordinary work through the real dialogs: the heap must level off.
#include "app/core/AppState.h"
#include "app/services/QtServices.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <set>

#include <malloc.h>

// AddressSanitizer's count where it runs (its heap is not malloc's), else malloc's.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

using namespace tracella;
using tracella::test::TestApp;

namespace {

// Answers whatever modal dialog is up, as a user would: the next file name,
// the next typed value, Yes or OK.
struct DialogAnswerer {
    std::deque<QString> files, values;
    // Every icon the dialogs' buttons showed: each is an entry of Qt's pixmap cache.
    std::set<qint64> buttonIcons;
    QTimer timer;

    DialogAnswerer()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] { answer(); });
        timer.start();
    }

    void answer()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        for (const QPushButton* b : w->findChildren<QPushButton*>()) {
            if (!b->icon().isNull())
                buttonIcons.insert(b->icon().cacheKey());
        }
        if (auto* d = qobject_cast<QFileDialog*>(w)) {
            if (files.empty())
                return d->reject();
            d->selectFile(files.front());
            files.pop_front();
            QMetaObject::invokeMethod(d, "accept");
        } else if (auto* d = qobject_cast<QInputDialog*>(w)) {
            if (values.empty())
                return d->reject();
            d->setTextValue(values.front());
            values.pop_front();
            d->accept();
        } else if (auto* b = qobject_cast<QMessageBox*>(w)) {
            QAbstractButton* yes = b->button(QMessageBox::Yes);
            (yes ? yes : b->button(QMessageBox::Ok))->click();
        }
    }
};

long long heapInUse()
{
    if (__sanitizer_get_current_allocated_bytes)
        return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
    return static_cast<long long>(mallinfo2().uordblks);
}

void workRound(TestApp& t, DialogAnswerer& a, const QString& picture, const QString& dataFile)
{
    a.files.push_back(picture);
    t.run(QStringLiteral("mnuPictureImport"));
    PictureSurface& surface = TestApp::surface();
    ASSERT_TRUE(surface.hasPicture());

    t.main().action(QStringLiteral("mnuPictureScale"))->trigger();
    TestApp::settle(50);
    for (const char* v : {"0", "-60", "10", "100"})
        a.values.push_back(QString::fromLatin1(v));
    QTest::mouseClick(&surface, Qt::LeftButton, Qt::NoModifier, QPoint(100, 540));
    QTest::mouseClick(&surface, Qt::LeftButton, Qt::NoModifier, QPoint(700, 60));
    TestApp::settle(50);
    ASSERT_FALSE(appState().ScaleModeOn);

    for (int i = 0; i < 200; ++i)
        QTest::mouseClick(&surface, Qt::LeftButton, Qt::NoModifier, QPoint(100 + 3 * i, 100 + 2 * i));
    t.run(QStringLiteral("mnuDataAR"));
    t.run(QStringLiteral("mnuDataSpline"));
    t.run(QStringLiteral("mnuDataSortX"));
    a.files.push_back(dataFile);
    t.run(QStringLiteral("mnuDataSaveAs"));
    t.run(QStringLiteral("mnuDataRemoveAll"));
    t.run(QStringLiteral("mnuFileNew"));
    TestApp::settle(100);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(MemoryCycle, RoundsOfWorkLeaveNothingBehind)
{
    TestApp t;
    InstallQtServices();
    DialogAnswerer answerer;
    QTemporaryDir dir;
    const QString picture = QStringLiteral(TRACELLA_EXAMPLES_DIR "/linear-graph.png");
    const QString dataFile = dir.filePath(QStringLiteral("points.txt"));

    // The first rounds fill Qt's caches and start its file dialog's helpers.
    constexpr int WarmUpRounds = 4, MeasuredRounds = 8;
    std::vector<long long> heap;
    std::size_t iconsAfterWarmUp = 0;
    for (int round = 0; round < WarmUpRounds + MeasuredRounds; ++round) {
        workRound(t, answerer, picture, dataFile);
        if (::testing::Test::HasFatalFailure())
            return;
        if (round == WarmUpRounds - 1)
            iconsAfterWarmUp = answerer.buttonIcons.size();
        heap.push_back(heapInUse());
    }
    EXPECT_EQ(answerer.buttonIcons.size(), iconsAfterWarmUp) << "new button icons in later rounds";
    const long long growth = heap.back() - heap[WarmUpRounds - 1];
    EXPECT_LE(growth, MeasuredRounds * 10 * 1024) << "bytes over " << MeasuredRounds << " rounds";
}

} // namespace
