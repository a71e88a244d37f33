// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Wayland rig itself: what the capture tests, which use it, do not show.
#include "e2e/harness/WaylandRig.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using namespace tavolen::e2e;

TEST(WaylandRigStart, ARigThatIsNotReadyInTimeSaysWhereItStoodAndLeavesNothing)
{
    if (!WaylandRig::available())
        GTEST_SKIP() << "sway is not installed";
    WaylandRig rig;
    const QString error = rig.start(50);
    EXPECT_TRUE(error.startsWith("Wayland rig: not ready within 50 ms, at step \"")) << error.toStdString();
    const QString dir = rig.dir();
    ASSERT_FALSE(dir.isEmpty());
    rig.stop();
    EXPECT_FALSE(QFileInfo::exists(dir));
    EXPECT_TRUE(rig.dir().isEmpty());
}

} // namespace
