// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereAppDelegate.h"

#include "ShellTestSupport.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

class QuillmereAppDelegateTest : public ::testing::Test {
protected:
    shelltest::ModelWithCountingWindow harness;
    QuillmereAppDelegate delegate;
};

TEST_F(QuillmereAppDelegateTest, LinkBeforeAttachmentIsHandledByIt)
{
    delegate.open({QStringLiteral("quillmere://open/focus")});
    EXPECT_EQ(delegate.pendingURLs().size(), 1);
    harness.model->setSelectedTab(MainWindowTab::history);

    delegate.attach(*harness.model);

    EXPECT_TRUE(delegate.pendingURLs().isEmpty());
    EXPECT_EQ(harness.model->selectedTab(), MainWindowTab::workCycle);
    EXPECT_EQ(harness.presented, 1);
}

TEST_F(QuillmereAppDelegateTest, NinthLinkBeforeAttachmentIsDropped)
{
    QStringList links;
    for (int i = 0; i < 8; ++i) {
        links << QStringLiteral("quillmere://open/focus");
    }
    links << QStringLiteral("quillmere://open/break");
    delegate.open(links);

    EXPECT_EQ(delegate.pendingURLs(), links.mid(0, 8));
    delegate.attach(*harness.model);
    EXPECT_EQ(harness.presented, 8);
}

TEST_F(QuillmereAppDelegateTest, OtherUrlsChangeNothingBeforeOrAfterAttachment)
{
    const QStringList others{QStringLiteral("https://example.org/"), QStringLiteral("quillmere://open/nowhere"),
                             QStringLiteral("quillmere://close/focus"), QStringLiteral("rm -rf ~"), QString()};
    delegate.open(others);
    EXPECT_TRUE(delegate.pendingURLs().isEmpty());

    harness.model->setSelectedTab(MainWindowTab::agentQuestions);
    delegate.attach(*harness.model);
    delegate.open(others);

    EXPECT_EQ(harness.model->selectedTab(), MainWindowTab::agentQuestions);
    EXPECT_EQ(harness.presented, 0);
}

TEST_F(QuillmereAppDelegateTest, LinkAfterAttachmentSelectsTheWorkCycleAtOnce)
{
    delegate.attach(*harness.model);
    harness.model->setSelectedTab(MainWindowTab::currentBlock);

    delegate.open({QStringLiteral("QUILLMERE://Open/Break/")});

    EXPECT_EQ(harness.model->selectedTab(), MainWindowTab::workCycle);
    EXPECT_EQ(harness.presented, 1);
}

TEST_F(QuillmereAppDelegateTest, ReopenShowsTheWindowOnlyOnceAttached)
{
    EXPECT_TRUE(delegate.reopen());
    EXPECT_EQ(harness.presented, 0);

    delegate.attach(*harness.model);
    EXPECT_TRUE(delegate.reopen());
    EXPECT_EQ(harness.presented, 1);
}

} // namespace
} // namespace quillmere
