#include "platform/x11/WindowFacts.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavolen::platform::x11;

namespace {

constexpr quint32 kOwnPid = 4242;

WindowFacts appWindow()
{
    WindowFacts f;
    f.viewable = true;
    f.pid = 77;
    f.desktop = 1;
    f.client = QRect(100, 130, 400, 300);
    return f;
}

} // namespace

TEST(WindowFacts, OrdinaryWindowIsACandidateWithItsClientRect)
{
    EXPECT_EQ(candidateRect(appWindow(), kOwnPid, 1), QRect(100, 130, 400, 300));
}

TEST(WindowFacts, ThisProcesssWindowsAreNeverCandidates)
{
    WindowFacts own = appWindow();
    own.pid = kOwnPid;
    EXPECT_EQ(candidateRect(own, kOwnPid, 1), std::nullopt);
    WindowFacts unknown = appWindow();
    unknown.pid.reset();
    EXPECT_TRUE(candidateRect(unknown, kOwnPid, 1)) << "a window without a pid is someone else's";
}

TEST(WindowFacts, WindowsOnAnotherWorkspaceAreLeftOut)
{
    EXPECT_EQ(candidateRect(appWindow(), kOwnPid, 0), std::nullopt);
    WindowFacts sticky = appWindow();
    sticky.desktop = kAllDesktops;
    EXPECT_TRUE(candidateRect(sticky, kOwnPid, 0));
    EXPECT_TRUE(candidateRect(appWindow(), kOwnPid, std::nullopt)) << "no workspaces known: all count";
}

TEST(WindowFacts, HiddenUnmappedAndNonApplicationWindowsAreLeftOut)
{
    for (auto change : std::vector<void (*)(WindowFacts &)>{
             [](WindowFacts &f) { f.viewable = false; },
             [](WindowFacts &f) { f.hidden = true; },
             [](WindowFacts &f) { f.overrideRedirect = true; },
             [](WindowFacts &f) { f.notAppWindow = true; },
         }) {
        WindowFacts f = appWindow();
        change(f);
        EXPECT_EQ(candidateRect(f, kOwnPid, 1), std::nullopt);
    }
}

TEST(WindowFacts, FrameIsAddedAndClientSideShadowTakenAway)
{
    WindowFacts framed = appWindow();
    framed.frame = Extents{1, 2, 24, 3};
    EXPECT_EQ(candidateRect(framed, kOwnPid, 1), QRect(99, 106, 403, 327));

    WindowFacts shadowed = appWindow();
    shadowed.shadow = Extents{20, 20, 10, 30};
    EXPECT_EQ(candidateRect(shadowed, kOwnPid, 1), QRect(120, 140, 360, 260));
}

TEST(WindowFacts, ShadowLargerThanTheWindowLeavesNothing)
{
    WindowFacts f = appWindow();
    f.shadow = Extents{200, 200, 0, 0};
    EXPECT_EQ(candidateRect(f, kOwnPid, 1), std::nullopt);
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
