// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every test program that needs a widget application: it runs on
// the off-screen platform, so no display is needed and nothing appears on a
// desktop. Bus tests get a private session bus from their CMakeLists.txt.
// Programs built with QUILLMERE_TEST_TRANSLATIONS read their texts in
// English, plural forms included, whatever the machine's language.

#include <QApplication>

#ifdef QUILLMERE_TEST_TRANSLATIONS
#include "Translations.h"
#endif

#include <gtest/gtest.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The off-screen platform warns on every window size constraint change, on
// raising a window, and that it has no status area; none of that says
// anything about the code under test, and it buries real failures.
void filterPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")) ||
        message.contains(QLatin1String("does not support raise()")) ||
        message.contains(QLatin1String("QSystemTrayIcon"))) {
        return;
    }
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(filterPlatformNoise);
    QApplication application(argc, argv);
#ifdef QUILLMERE_TEST_TRANSLATIONS
    // English unless a run asks for a language of its own, to see that
    // longer words still fit.
    const QString language = qEnvironmentVariable("QUILLMERE_TEST_LANGUAGE");
    const quillmere::Translations translations{language.isEmpty() ? QLocale(QLocale::English) : QLocale(language)};
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
