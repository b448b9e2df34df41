// SPDX-License-Identifier: GPL-3.0-or-later
// How Quillmere looks on a desktop: the choice of style, palette and font
// scale, what counts as the user's own style, and the running application
// recolouring its windows when the desktop switches between light and dark.

#include "ApplicationLook.h"

#include "FakeSettingsPortal.h"
#include "MainWindowController.h"
#include "Motion.h"
#include "Palette.h"
#include "QuillmereApp.h"
#include "QuillmereAppDelegate.h"
#include "ShellTestSupport.h"
#include "StatusAreaItem.h"
#include "preferences/PreferencesWindow.h"

#include <QImage>
#include <QStyleFactory>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

namespace quillmere {
namespace {

using Scheme = DesktopAppearance::ColourScheme;
using Palette = LookChoice::Palette;

TEST(ApplicationLook, APlatformThemeKeepsItsLookAndQtsOwnStylesGiveWayToQuillmeres)
{
    struct Case {
        const char* name;
        StyleOrigin origin;
        Scheme scheme;
        double textScale;
        bool platformScalesText;
        LookChoice expected;
    };
    const Case cases[] = {
        {"Plasma's Breeze follows the desktop's colours itself", {"breeze", false}, Scheme::dark, 1.0, false,
         {"breeze", Palette::style, 1.0}},
        {"GNOME's Adwaita platform theme scales its own fonts", {"adwaita", false}, Scheme::light, 1.25, false,
         {"adwaita", Palette::style, 1.0}},
        {"a style the user picked that brings its own palette", {"Breeze", true}, Scheme::dark, 1.0, false,
         {"breeze", Palette::style, 1.0}},
        {"no platform theme, no preference: light", {"fusion", false}, Scheme::noPreference, 1.0, false,
         {"fusion", Palette::light, 1.0}},
        {"no platform theme, dark preferred", {"fusion", false}, Scheme::dark, 1.0, false,
         {"fusion", Palette::dark, 1.0}},
        {"no platform theme, light preferred", {"fusion", false}, Scheme::light, 1.0, false,
         {"fusion", Palette::light, 1.0}},
        {"the text scale on Wayland, where nobody else applies it", {"fusion", false}, Scheme::dark, 1.25, false,
         {"fusion", Palette::dark, 1.25}},
        {"the text scale on X11, already in the font resolution", {"fusion", false}, Scheme::dark, 1.25, true,
         {"fusion", Palette::dark, 1.0}},
        {"Qt's plain Windows style, not chosen by anyone, gives way", {"windows", false}, Scheme::light, 1.0, false,
         {"fusion", Palette::light, 1.0}},
        {"the user's own -style windows stays, in Quillmere's colours", {"windows", true}, Scheme::dark, 1.0, false,
         {"windows", Palette::dark, 1.0}},
        {"an unknown style is Qt's own", {"", false}, Scheme::noPreference, 1.0, false,
         {"fusion", Palette::light, 1.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LookChoice choice = chooseLook(c.origin, c.scheme, c.textScale, c.platformScalesText);
        EXPECT_EQ(choice.style.toStdString(), c.expected.style.toStdString());
        EXPECT_EQ(choice.palette, c.expected.palette);
        EXPECT_DOUBLE_EQ(choice.fontScale, c.expected.fontScale);
    }
}

TEST(ApplicationLook, TheUsersStyleIsQtsStyleOptionInEveryFormOrTheOverride)
{
    struct Case {
        const char* name;
        std::vector<std::string_view> arguments;
        const char* styleOverride;
        bool forced;
    };
    const Case cases[] = {
        {"nothing", {"quillmere://open/focus"}, nullptr, false},
        {"-style and its value", {"-style", "breeze"}, nullptr, true},
        {"--style and its value", {"--style", "breeze"}, nullptr, true},
        {"-style=value", {"-style=fusion"}, nullptr, true},
        {"--style=value", {"--style=fusion"}, nullptr, true},
        {"-style without a value is not an option Qt takes", {"-style"}, nullptr, false},
        {"a word that only begins like it", {"-stylesheet", "a.qss"}, nullptr, false},
        {"the environment", {}, "kvantum", true},
        {"an empty override", {}, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(styleForcedByUser(c.arguments, c.styleOverride), c.forced);
    }
}

// The user's folders, for the length of a test, in a temporary one: the
// application runs as the user's own instance but writes nothing of theirs.
class FoldersIn {
public:
    explicit FoldersIn(const std::filesystem::path& folder)
    {
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
            saved_.emplace_back(variable, qgetenv(variable));
            qputenv(variable, QByteArray::fromStdString((folder / variable).string()));
        }
    }
    ~FoldersIn()
    {
        for (const auto& [variable, value] : saved_) {
            if (value.isNull()) {
                qunsetenv(variable);
            } else {
                qputenv(variable, value);
            }
        }
    }

private:
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

// The application's style, palette and motion as they were, once the test
// is over.
struct LookRestored {
    ~LookRestored()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
        QApplication::setPalette(QPalette());
        QApplication::setFont(QFont());
        look::setAnimationsEnabled(true);
    }
};

// The palette's window colour at the moment the main window is first shown.
class FirstShowWatcher final : public QObject {
public:
    std::optional<QColor> windowColour;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<MainWindowFrame*>(watched) != nullptr && !windowColour) {
            windowColour = static_cast<QWidget*>(watched)->palette().color(QPalette::Window);
        }
        return false;
    }
};

// A window's picture as far as its colours go: the one most of it is
// painted in, and the mean lightness, 0 black to 1 white.
struct Picture {
    QRgb dominant = 0;
    double lightness = -1;
};

Picture picture(QWidget& window)
{
    QApplication::processEvents();
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> counts;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb pixel = image.pixel(x, y);
            ++counts[pixel];
            sum += QColor(pixel).lightnessF();
            ++count;
        }
    }
    if (count == 0) {
        return {};
    }
    const auto most = std::ranges::max_element(counts, {}, [](const auto& entry) { return entry.second; });
    return {most->first, sum / count};
}

template <class Window>
Window* topLevel()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

TEST(ApplicationLook, TheRunningApplicationFollowsTheDesktopBetweenDarkAndLightInEveryWindow)
{
    const QString appearance = QStringLiteral("org.freedesktop.appearance");
    const QString colourScheme = QStringLiteral("color-scheme");
    fixtures::TempFolder temp;
    const FoldersIn folders(temp.path());
    const LookRestored restored;
    fakes::FakeSettingsPortal portal(fakes::FakeSettingsPortal::Methods::readOne, {{{appearance, colourScheme}, 1u}});
    ASSERT_TRUE(portal.registered());
    FirstShowWatcher firstShow;
    qApp->installEventFilter(&firstShow);

    fakes::FakeClock clock;
    QuillmereAppDelegate delegate;
    QuillmereApp::Options options;
    options.clock = clock.function();
    options.style = {QStringLiteral("fusion"), false};
    QuillmereApp app(delegate, LaunchMode{false, temp.path() / "Quillmere"}, options);
    ASSERT_TRUE(QTest::qWaitFor([] { return topLevel<MainWindowFrame>() != nullptr; }));
    qApp->removeEventFilter(&firstShow);
    // The desktop preferred dark from the start: the window opened dark, it
    // did not turn dark after showing itself light.
    ASSERT_TRUE(firstShow.windowColour);
    EXPECT_EQ(firstShow.windowColour->name().toStdString(),
              look::darkPalette().color(QPalette::Window).name().toStdString());

    app.model().showPreferences();
    ASSERT_NE(app.statusAreaItem(), nullptr);
    app.statusAreaItem()->togglePanel(QRect());
    const std::pair<const char*, QWidget*> windows[] = {
        {"main window", topLevel<MainWindowFrame>()},
        {"status panel", app.statusAreaItem()->panel()},
        {"preferences", topLevel<PreferencesWindow>()},
    };
    // Each window is painted in the palette's window colour, and nothing
    // light is left in a dark one, or dark in a light one.
    const auto expectEveryWindow = [&](bool dark) {
        const QPalette palette = dark ? look::darkPalette() : look::lightPalette();
        for (const auto& [name, window] : windows) {
            SCOPED_TRACE(name);
            ASSERT_NE(window, nullptr);
            const Picture shot = picture(*window);
            EXPECT_EQ(QColor(shot.dominant).name().toStdString(), palette.color(QPalette::Window).name().toStdString());
            if (dark) {
                EXPECT_LT(shot.lightness, 0.3);
            } else {
                EXPECT_GT(shot.lightness, 0.8);
            }
        }
    };
    const auto switchTo = [&](uint scheme, const QPalette& expected) {
        ASSERT_TRUE(portal.change(appearance, colourScheme, scheme));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::palette().color(QPalette::Window) ==
                                                 expected.color(QPalette::Window); }));
    };
    {
        SCOPED_TRACE("dark at the start");
        expectEveryWindow(true);
    }
    {
        SCOPED_TRACE("switched to light");
        switchTo(2u, look::lightPalette());
        expectEveryWindow(false);
    }
    {
        SCOPED_TRACE("and back to dark");
        switchTo(1u, look::darkPalette());
        expectEveryWindow(true);
    }
    // The text scale and motion follow the desktop too, while the
    // application runs; off X11 nobody else applies the scale.
    const QString gnome = QStringLiteral("org.gnome.desktop.interface");
    const double pointSize = QApplication::font().pointSizeF();
    ASSERT_TRUE(portal.change(gnome, QStringLiteral("text-scaling-factor"), 1.5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::font().pointSizeF() == pointSize * 1.5; }));
    ASSERT_TRUE(portal.change(gnome, QStringLiteral("text-scaling-factor"), 1.0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::font().pointSizeF() == pointSize; }));
    ASSERT_TRUE(look::animationsEnabled());
    // As a desktop with animated menus has it.
    QApplication::setEffectEnabled(Qt::UI_AnimateMenu, true);
    ASSERT_TRUE(portal.change(gnome, QStringLiteral("enable-animations"), false));
    EXPECT_TRUE(QTest::qWaitFor([] { return !look::animationsEnabled(); }));
    EXPECT_FALSE(QApplication::isEffectEnabled(Qt::UI_AnimateMenu)) << "the toolkit's menus still slide open";

    for (const auto& [name, window] : windows) {
        window->close();
    }
}

} // namespace
} // namespace quillmere
