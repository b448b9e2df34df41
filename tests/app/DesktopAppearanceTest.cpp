// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's look as the settings portal tells it: a fake portal on the
// test's private bus answers the reads, the new way or the older one, and
// announces changes.

#include "DesktopAppearance.h"
#include "FakeSettingsPortal.h"

#include <QMetaEnum>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace quillmere {

// Schemes by name in the tests' messages.
void PrintTo(DesktopAppearance::ColourScheme scheme, std::ostream* out)
{
    *out << QMetaEnum::fromType<DesktopAppearance::ColourScheme>().valueToKey(static_cast<int>(scheme));
}

namespace {

using Scheme = DesktopAppearance::ColourScheme;
using fakes::FakeSettingsPortal;

const QString freedesktop = QStringLiteral("org.freedesktop.appearance");
const QString gnome = QStringLiteral("org.gnome.desktop.interface");
const QString kde = QStringLiteral("org.kde.kdeglobals.KDE");

// What the desktop asks for, once the first reading is over.
struct Settled {
    Scheme scheme;
    double textScale;
    bool reducedMotion;
};

void expectSettled(const DesktopAppearance& appearance, const Settled& expected)
{
    EXPECT_EQ(appearance.colourScheme(), expected.scheme);
    EXPECT_DOUBLE_EQ(appearance.textScale(), expected.textScale);
    EXPECT_EQ(appearance.reducedMotion(), expected.reducedMotion);
}

TEST(DesktopAppearance, ReadsWhatTheDesktopAsksForFromNewAndOlderPortalsAlike)
{
    struct Case {
        const char* name;
        FakeSettingsPortal::Values values;
        Settled expected;
    };
    const Case cases[] = {
        {"GNOME: dark, larger text, no animations",
         {{{freedesktop, "color-scheme"}, 1u},
          {{gnome, "text-scaling-factor"}, 1.25},
          {{gnome, "enable-animations"}, false}},
         {Scheme::dark, 1.25, true}},
        {"KDE: light, animations off as a duration factor of 0, written as text",
         {{{freedesktop, "color-scheme"}, 2u}, {{kde, "AnimationDurationFactor"}, QStringLiteral("0")}},
         {Scheme::light, 1.0, true}},
        {"KDE: slower animations still move",
         {{{freedesktop, "color-scheme"}, 0u}, {{kde, "AnimationDurationFactor"}, QStringLiteral("0.5")}},
         {Scheme::noPreference, 1.0, false}},
        {"the portal's own reduced motion", {{{freedesktop, "reduced-motion"}, 1u}}, {Scheme::noPreference, 1.0, true}},
        {"values the desktop may add later are no preference and no scale",
         {{{freedesktop, "color-scheme"}, 7u}, {{gnome, "text-scaling-factor"}, 40.0}},
         {Scheme::noPreference, 1.0, false}},
    };
    for (const auto methods : {FakeSettingsPortal::Methods::readOne, FakeSettingsPortal::Methods::onlyOlderRead}) {
        const bool older = methods == FakeSettingsPortal::Methods::onlyOlderRead;
        SCOPED_TRACE(older ? "older Read, a variant in a variant" : "ReadOne");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            FakeSettingsPortal portal(methods, c.values);
            ASSERT_TRUE(portal.registered());
            DesktopAppearance appearance(QDBusConnection::sessionBus());
            QSignalSpy schemeChanged(&appearance, &DesktopAppearance::colourSchemeChanged);
            QSignalSpy scaleChanged(&appearance, &DesktopAppearance::textScaleChanged);
            QSignalSpy motionChanged(&appearance, &DesktopAppearance::reducedMotionChanged);
            EXPECT_FALSE(appearance.isSettled()) << "the answers come later: nothing waits for them";
            QSignalSpy settled(&appearance, &DesktopAppearance::settled);
            ASSERT_TRUE(settled.wait(5000));

            expectSettled(appearance, c.expected);
            // What differs from the defaults is announced, once, so that the
            // windows follow it.
            EXPECT_EQ(schemeChanged.count(), c.expected.scheme == Scheme::noPreference ? 0 : 1);
            EXPECT_EQ(scaleChanged.count(), c.expected.textScale == 1.0 ? 0 : 1);
            EXPECT_EQ(motionChanged.count(), c.expected.reducedMotion ? 1 : 0);
            EXPECT_EQ(settled.count(), 1);
            // Each setting is asked once the one way, the older portal a
            // second time the other.
            EXPECT_EQ(portal.reads[QStringLiteral("Read")], older ? 5 : 0);
            EXPECT_EQ(portal.reads[QStringLiteral("ReadOne")], older ? 0 : 5);
        }
    }
}

TEST(DesktopAppearance, FollowsTheDesktopWhileItRunsAndSaysOnlyWhatChanged)
{
    FakeSettingsPortal portal(FakeSettingsPortal::Methods::readOne, {{{freedesktop, "color-scheme"}, 2u}});
    ASSERT_TRUE(portal.registered());
    DesktopAppearance appearance(QDBusConnection::sessionBus());
    QSignalSpy settled(&appearance, &DesktopAppearance::settled);
    ASSERT_TRUE(settled.wait(5000));
    ASSERT_EQ(appearance.colourScheme(), Scheme::light);
    QSignalSpy schemeChanged(&appearance, &DesktopAppearance::colourSchemeChanged);
    QSignalSpy scaleChanged(&appearance, &DesktopAppearance::textScaleChanged);
    QSignalSpy motionChanged(&appearance, &DesktopAppearance::reducedMotionChanged);

    ASSERT_TRUE(portal.change(freedesktop, "color-scheme", 1u));
    ASSERT_TRUE(schemeChanged.wait(5000));
    EXPECT_EQ(appearance.colourScheme(), Scheme::dark);
    EXPECT_EQ(schemeChanged.takeFirst().at(0).value<Scheme>(), Scheme::dark);

    // The same scheme again, and a setting nobody follows, change nothing;
    // the text scale that comes after them shows they were heard.
    ASSERT_TRUE(portal.change(freedesktop, "color-scheme", 1u));
    ASSERT_TRUE(portal.change(gnome, "clock-format", QStringLiteral("24h")));
    ASSERT_TRUE(portal.change(gnome, "text-scaling-factor", 1.5));
    ASSERT_TRUE(scaleChanged.wait(5000));
    EXPECT_DOUBLE_EQ(appearance.textScale(), 1.5);
    EXPECT_EQ(schemeChanged.count(), 0);

    // Either desktop's switch turns motion off; it comes back only when
    // neither asks for less.
    ASSERT_TRUE(portal.change(gnome, "enable-animations", false));
    ASSERT_TRUE(motionChanged.wait(5000));
    EXPECT_TRUE(appearance.reducedMotion());
    ASSERT_TRUE(portal.change(kde, "AnimationDurationFactor", 0.0));
    ASSERT_TRUE(portal.change(gnome, "enable-animations", true));
    ASSERT_TRUE(portal.change(kde, "AnimationDurationFactor", 1.0));
    ASSERT_TRUE(motionChanged.wait(5000));
    EXPECT_FALSE(appearance.reducedMotion());
    EXPECT_EQ(motionChanged.count(), 2);

    ASSERT_TRUE(portal.change(freedesktop, "color-scheme", 0u));
    ASSERT_TRUE(schemeChanged.wait(5000));
    EXPECT_EQ(appearance.colourScheme(), Scheme::noPreference);
}

TEST(DesktopAppearance, WithoutAPortalTheDefaultsHoldAndTheReadingStillEnds)
{
    const Settled defaults{Scheme::noPreference, 1.0, false};
    {
        SCOPED_TRACE("a bus without a portal");
        DesktopAppearance appearance(QDBusConnection::sessionBus());
        QSignalSpy changed(&appearance, &DesktopAppearance::colourSchemeChanged);
        QSignalSpy settled(&appearance, &DesktopAppearance::settled);
        ASSERT_TRUE(settled.wait(5000));
        expectSettled(appearance, defaults);
        EXPECT_TRUE(changed.isEmpty());
    }
    {
        SCOPED_TRACE("no bus at all");
        const DesktopAppearance appearance(QDBusConnection(QStringLiteral("appearance-test-no-bus")));
        EXPECT_TRUE(appearance.isSettled());
        expectSettled(appearance, defaults);
    }
}

} // namespace
} // namespace quillmere
