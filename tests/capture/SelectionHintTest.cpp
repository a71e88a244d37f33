#include "capture/SelectionHint.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace tavolen::capture;

TEST(SelectionHint, PillIsCentredWithItsBottomEdge64BelowTheTop)
{
    const QRectF pill = hintPillRect(QSizeF(300, 16), QSizeF(1920, 1080));
    EXPECT_EQ(pill, QRectF(960 - 150 - 14, 64 - 30, 328, 30));
    EXPECT_DOUBLE_EQ(pill.bottom(), 64);
}

TEST(SelectionHint, TextFollowsTheInterfaceLanguage)
{
    tavolen::test::ScopedSettings s({QStringLiteral("en-US")});
    EXPECT_EQ(hintText(), QStringLiteral("Click to snap a window · drag for a region · Esc to cancel"));
    s.setLanguages({QStringLiteral("zh-Hans-CN")});
    EXPECT_EQ(hintText(), QStringLiteral("单击选中窗口 · 拖拽精确框选 · Esc 取消"));
}
