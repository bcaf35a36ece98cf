// The compiled-in resources: sounds, toolbar icons, pointers and help pages.

#include "resources/CursorHotspots.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

QByteArray ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct WaveInfo {
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QByteArray samples;
};

// Walks the RIFF chunks; fields stay zero when a chunk is missing.
WaveInfo ParseWave(const QByteArray& bytes)
{
    WaveInfo info;
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE")
        return info;
    const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype length = u32(at + 4);
        if (id == "fmt " && length >= 16) {
            info.format = u16(at + 8);
            info.channels = u16(at + 10);
            info.rate = static_cast<int>(u32(at + 12));
            info.bits = u16(at + 22);
        } else if (id == "data") {
            info.samples = bytes.mid(at + 8, length);
        }
        at += 8 + length + (length & 1);
    }
    return info;
}

TEST(ResourcesTest, SoundsArePcmMono8Bit11025WithExpectedLengthsAndSilentEnds)
{
    const struct {
        const char* path;
        double seconds;
    } sounds[] = {{":/sounds/16.wav", 0.3}, {":/sounds/48.wav", 0.07}};
    for (const auto& sound : sounds) {
        SCOPED_TRACE(sound.path);
        ASSERT_TRUE(QFile::exists(sound.path));
        const WaveInfo wave = ParseWave(ReadResource(sound.path));
        EXPECT_EQ((std::vector<int>{wave.format, wave.channels, wave.rate, wave.bits}), (std::vector<int>{1, 1, 11025, 8}));
        ASSERT_FALSE(wave.samples.isEmpty());
        EXPECT_NEAR(wave.samples.size() / 11025.0, sound.seconds, 0.02);

        // 8-bit data is unsigned around 128: the ends must be near silence (no click),
        // and the sound must be clearly audible in between.
        const auto level = [](char sample) { return std::abs(static_cast<unsigned char>(sample) - 128); };
        EXPECT_LE(level(wave.samples.front()), 2);
        EXPECT_LE(level(wave.samples.back()), 2);
        int peak = 0;
        for (const char sample : wave.samples)
            peak = std::max(peak, level(sample));
        EXPECT_GT(peak, 40);
    }
}

TEST(ResourcesTest, EveryToolbarKeyHasAVisibleIconAndTheProgramIconIsLarge)
{
    const QStringList keys = {"New", "Save", "Print", "Paste", "Open", "SortXY", "SortYX", "RemoveAll",
                              "RemoveRepeated", "RemoveSelected", "AutoRead", "TraceCurve", "Interpolate", "Options",
                              "Capture", "Scanner", "Zoom"};
    QSet<QByteArray> distinct;
    for (const QString& key : keys) {
        SCOPED_TRACE(key.toStdString());
        const QImage icon(":/icons/toolbar/" + key + ".png");
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(24, 24));
        EXPECT_TRUE(icon.hasAlphaChannel());
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "background should be transparent";
        distinct.insert(ReadResource(":/icons/toolbar/" + key + ".png"));
    }
    EXPECT_EQ(distinct.size(), keys.size()) << "two keys share one picture";

    const QImage program(":/icons/tracella.png");
    ASSERT_FALSE(program.isNull());
    EXPECT_EQ(program.size(), QSize(256, 256));
}

bool IsDarkInk(QRgb pixel) { return qAlpha(pixel) == 255 && qGray(pixel) < 64; }

TEST(ResourcesTest, PointerImagesAreRimmedAndCentredOnTheirHotspots)
{
    QSet<QByteArray> distinct;
    for (int position = 1; position <= tracella::PointerImageCount; ++position) {
        const tracella::PointerImage& info = tracella::PointerImageAt(position);
        SCOPED_TRACE(info.resource);
        const QImage image = QImage(info.resource).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_TRUE(image.rect().contains(info.hotX, info.hotY));
        EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0) << "background should be transparent";
        distinct.insert(ReadResource(info.resource));

        // Black ink never touches a transparent pixel: a light rim keeps it visible on dark pictures.
        int ink = 0, bare = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!IsDarkInk(image.pixel(x, y)))
                    continue;
                ++ink;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        bare += image.valid(x + dx, y + dy) && qAlpha(image.pixel(x + dx, y + dy)) == 0;
            }
        EXPECT_GT(ink, 4);
        EXPECT_EQ(bare, 0);

        // A centred shape is its own mirror image about the hot pixel; the
        // arrow points with its tip: the hot pixel carries ink, nothing lies
        // above or left of it.
        const QPoint hot(info.hotX, info.hotY);
        const int reach = std::min({hot.x(), hot.y(), 31 - hot.x(), 31 - hot.y()});
        int asymmetric = 0;
        const auto differ = [&](QPoint a, QPoint b) {
            return std::abs(qAlpha(image.pixel(a)) - qAlpha(image.pixel(b))) > 40;
        };
        for (int along = 0; along < 32 && reach >= 8; ++along)
            for (int d = 1; d <= reach; ++d)
                asymmetric += differ({hot.x() - d, along}, {hot.x() + d, along}) +
                              differ({along, hot.y() - d}, {along, hot.y() + d});
        for (int x = info.hotX + 2; x < 32 && reach < 8; ++x)
            asymmetric += qAlpha(image.pixel(x, 0)) != 0;
        EXPECT_EQ(asymmetric, 0);
        EXPECT_TRUE(reach >= 8 || qAlpha(image.pixel(hot)) > 0);
    }
    EXPECT_EQ(distinct.size(), tracella::PointerImageCount);

    EXPECT_STREQ(tracella::PointerImageAt(0).resource, ":/cursors/pointer1.png");
    EXPECT_STREQ(tracella::PointerImageAt(99).resource, ":/cursors/pointer7.png");
}

TEST(ResourcesTest, HelpPagesLinkOnlyToPagesAndAnchorsThatExist)
{
    const QString root = ":/help/";
    const QStringList pages = {"index.html",     "steps.html",    "commands.html", "options.html",
                               "datafiles.html", "pictures.html", "topics.html"};
    const QRegularExpression hrefs(R"(href="([^"]*)\")");
    const QRegularExpression names(R"(name="([^"]*)\")");

    QSet<QString> reachedFromIndex;
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        const QString text = QString::fromUtf8(ReadResource(root + page));
        ASSERT_FALSE(text.isEmpty());
        EXPECT_TRUE(text.contains("<title>"));
        EXPECT_FALSE(text.contains("<script", Qt::CaseInsensitive));

        for (const QRegularExpressionMatch& link : hrefs.globalMatch(text)) {
            const QString target = link.captured(1);
            SCOPED_TRACE(target.toStdString());
            const QString file = target.section('#', 0, 0);
            const QString anchor = target.section('#', 1);
            const QString targetPage = file.isEmpty() ? page : file;
            ASSERT_TRUE(pages.contains(targetPage));
            if (page == "index.html")
                reachedFromIndex.insert(targetPage);
            if (anchor.isEmpty())
                continue;
            const QString targetText = QString::fromUtf8(ReadResource(root + targetPage));
            bool found = false;
            for (const QRegularExpressionMatch& name : names.globalMatch(targetText))
                found = found || name.captured(1) == anchor;
            EXPECT_TRUE(found);
        }
    }
    for (const QString& page : pages) {
        if (page != "index.html") {
            EXPECT_TRUE(reachedFromIndex.contains(page)) << page.toStdString() << " is not linked from the contents";
        }
    }
}

} // namespace
