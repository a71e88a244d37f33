// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/WindowFacts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tavolen::platform::x11;

namespace {

constexpr quint32 kOwnPid = 4242;

// The candidate rect of an ordinary application window of another process,
// on workspace 1, after `change`, while `current` is the workspace shown.
std::optional<QRect> candidate(const std::function<void(WindowFacts &)> &change = {},
                               std::optional<quint32> current = 1)
{
    WindowFacts f;
    f.viewable = true;
    f.pid = 77;
    f.desktop = 1;
    f.client = QRect(100, 130, 400, 300);
    if (change)
        change(f);
    return candidateRect(f, kOwnPid, current);
}

} // namespace

TEST(WindowFacts, CandidateRectIsTheFrameLessAnyClientSideShadow)
{
    EXPECT_EQ(candidate(), QRect(100, 130, 400, 300));
    EXPECT_EQ(candidate([](auto &f) { f.frame = Extents{1, 2, 24, 3}; }), QRect(99, 106, 403, 327));
    EXPECT_EQ(candidate([](auto &f) { f.shadow = Extents{20, 20, 10, 30}; }), QRect(120, 140, 360, 260));
    EXPECT_FALSE(candidate([](auto &f) {
        f.shadow = Extents{200, 200, 0, 0};
    })) << "a shadow larger than the window leaves nothing";
}

TEST(WindowFacts, OwnHiddenUnmappedNonApplicationAndOtherWorkspaceWindowsAreLeftOut)
{
    const std::function<void(WindowFacts &)> leftOut[] = {
        [](WindowFacts &f) { f.pid = kOwnPid; },       [](WindowFacts &f) { f.viewable = false; },
        [](WindowFacts &f) { f.hidden = true; },       [](WindowFacts &f) { f.overrideRedirect = true; },
        [](WindowFacts &f) { f.notAppWindow = true; }, [](WindowFacts &f) { f.desktop = 0; },
    };
    for (const auto &change : leftOut)
        EXPECT_EQ(candidate(change), std::nullopt) << &change - leftOut;

    EXPECT_TRUE(candidate([](auto &f) { f.pid.reset(); })) << "no pid: someone else's";
    EXPECT_TRUE(candidate([](auto &f) { f.desktop = kAllDesktops; }, 0));
    EXPECT_TRUE(candidate({}, std::nullopt)) << "no workspaces known: all count";
}

TEST(WindowFacts, ExtentsNeedExactlyFourValues)
{
    using Values = std::vector<quint32>;
    EXPECT_FALSE(extentsFrom(std::optional<Values>(Values{1, 2, 3})));
    EXPECT_FALSE(extentsFrom(std::optional<Values>()));
    const auto e = extentsFrom(std::optional<Values>(Values{1, 2, 3, 4}));
    ASSERT_TRUE(e);
    EXPECT_EQ(std::tie(e->left, e->right, e->top, e->bottom), std::make_tuple(1, 2, 3, 4));
}
