// SPDX-License-Identifier: GPL-3.0-or-later
// The model's tests need a Qt application object for timers, queued calls and
// D-Bus; every test runs on a private session bus (see CMakeLists.txt).

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
