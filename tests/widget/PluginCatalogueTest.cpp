// SPDX-License-Identifier: GPL-3.0-or-later
// The real plug-in, loaded the way the host loads it, and drawn by --render's
// code path.

#include "PluginCatalogue.h"
#include "Render.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace quillmere::widgethost {
namespace {

const TimePoint T = TimePoint(std::chrono::seconds(1'772'445'600));

TEST(PluginCatalogue, LoadsTheStatusWidgetFromThePluginFolder)
{
    const PluginCatalogue catalogue(QStringLiteral(QUILLMERE_TEST_PLUGIN_DIR));
    EXPECT_TRUE(catalogue.problems().isEmpty()) << catalogue.problems().join('\n').toStdString();
    ASSERT_EQ(catalogue.kinds().size(), 1u);
    EXPECT_NE(catalogue.kind(QStringLiteral("QuillmereStatusWidget")), nullptr);
    EXPECT_EQ(catalogue.kind(QStringLiteral("Other")), nullptr);
}

TEST(PluginCatalogue, ReportsWhatCannotBeLoadedAndGoesOn)
{
    QTemporaryDir folder;
    QFile junk(folder.filePath(QStringLiteral("libbroken.so")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a library");
    junk.close();

    const PluginCatalogue catalogue(folder.path());
    EXPECT_TRUE(catalogue.kinds().empty());
    ASSERT_EQ(catalogue.problems().size(), 1);
    EXPECT_TRUE(catalogue.problems().front().startsWith(junk.fileName()));

    EXPECT_EQ(PluginCatalogue(folder.filePath(QStringLiteral("missing"))).problems().size(), 1);
}

TEST(Render, DrawsTheSampleAtTheFamilySizeWithItsFrame)
{
    const PluginCatalogue catalogue(QStringLiteral(QUILLMERE_TEST_PLUGIN_DIR));
    const auto kind = catalogue.kind(QStringLiteral("QuillmereStatusWidget"));
    ASSERT_NE(kind, nullptr);
    for (const Family family : {Family::small, Family::medium, Family::large, Family::extraLarge}) {
        SCOPED_TRACE(familyText(family).toStdString());
        const auto image = renderEntry(*kind, RenderRequest{family, {}, T, true}, T);
        ASSERT_TRUE(image.has_value()) << image.error().toStdString();
        EXPECT_EQ(image->size() / image->devicePixelRatio(), standardSize(family) + QSize(2, 2));
        // Something is drawn: far more than the background and the frame.
        std::set<QRgb> colours;
        for (int y = 0; y < image->height(); y += 2) {
            for (int x = 0; x < image->width(); x += 2) {
                colours.insert(image->pixel(x, y));
            }
        }
        EXPECT_GT(colours.size(), 20u);
    }
}

} // namespace
} // namespace quillmere::widgethost
