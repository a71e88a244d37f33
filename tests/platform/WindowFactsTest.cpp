#include "platform/x11/WindowFacts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tavolen::platform::x11;

namespace {

constexpr quint32 kOwnPid = 4242;

// An ordinary application window of another process, on workspace 1.
WindowFacts appWindow(const std::function<void(WindowFacts &)> &change = {})
{
    WindowFacts f;
    f.viewable = true;
    f.pid = 77;
    f.desktop = 1;
    f.client = QRect(100, 130, 400, 300);
    if (change)
        change(f);
    return f;
}

} // namespace

TEST(WindowFacts, CandidateRectIsTheFrameLessAnyClientSideShadow)
{
    EXPECT_EQ(candidateRect(appWindow(), kOwnPid, 1), QRect(100, 130, 400, 300));
    EXPECT_EQ(candidateRect(appWindow([](auto &f) {
                                f.frame = Extents{1, 2, 24, 3};
                            }),
                            kOwnPid, 1),
              QRect(99, 106, 403, 327));
    EXPECT_EQ(candidateRect(appWindow([](auto &f) {
                                f.shadow = Extents{20, 20, 10, 30};
                            }),
                            kOwnPid, 1),
              QRect(120, 140, 360, 260));
    EXPECT_EQ(candidateRect(appWindow([](auto &f) {
                                f.shadow = Extents{200, 200, 0, 0};
                            }),
                            kOwnPid, 1),
              std::nullopt)
        << "a shadow larger than the window leaves nothing";
}

TEST(WindowFacts, OwnHiddenUnmappedNonApplicationAndOtherWorkspaceWindowsAreLeftOut)
{
    const std::function<void(WindowFacts &)> leftOut[] = {
        [](WindowFacts &f) { f.pid = kOwnPid; },       [](WindowFacts &f) { f.viewable = false; },
        [](WindowFacts &f) { f.hidden = true; },       [](WindowFacts &f) { f.overrideRedirect = true; },
        [](WindowFacts &f) { f.notAppWindow = true; }, [](WindowFacts &f) { f.desktop = 0; },
    };
    for (const auto &change : leftOut)
        EXPECT_EQ(candidateRect(appWindow(change), kOwnPid, 1), std::nullopt) << &change - leftOut;

    EXPECT_TRUE(candidateRect(appWindow([](auto &f) { f.pid.reset(); }), kOwnPid, 1))
        << "no pid: someone else's";
    EXPECT_TRUE(candidateRect(appWindow([](auto &f) { f.desktop = kAllDesktops; }), kOwnPid, 0));
    EXPECT_TRUE(candidateRect(appWindow(), kOwnPid, std::nullopt)) << "no workspaces known: all count";
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
