// The compiled-in resources: toolbar icons and help pages.
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>


namespace {

QByteArray ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
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
