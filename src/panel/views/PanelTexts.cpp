// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/PanelTexts.h"

#include "core/L.h"

namespace tavolen::panel::texts {

QString translationToggle(bool expanded)
{
    return expanded ? L::text(QStringLiteral("Hide translation"), QStringLiteral("收起翻译"))
                    : L::text(QStringLiteral("Full translation"), QStringLiteral("看全文翻译"));
}

QString hiddenMeaningHeading()
{
    return L::text(QStringLiteral("What's really going on"), QStringLiteral("核心解析"));
}

// Paste is Ctrl+V here.
QString copied()
{
    return L::text(QStringLiteral("Copied · Ctrl+V"), QStringLiteral("已复制 · Ctrl+V"));
}

QString trustBadge()
{
    return L::text(QStringLiteral("Analyzed · screenshot not kept"), QStringLiteral("已分析 · 截图未保存"));
}

QString readingOnly()
{
    return L::text(QStringLiteral("Reading-only · no reply needed"), QStringLiteral("阅读内容 · 无需回复"));
}

QString original()
{
    return L::text(QStringLiteral("Original"), QStringLiteral("原版"));
}

QString shorter()
{
    return L::text(QStringLiteral("Shorter"), QStringLiteral("更短"));
}

QString loading()
{
    return L::text(QStringLiteral("Reading the room…"), QStringLiteral("读懂语气中…"));
}

QString streaming()
{
    return L::text(QStringLiteral("Writing your reply…"), QStringLiteral("正在想怎么回…"));
}

// A Linux desktop has no screen-recording switch in its settings: capture is
// refused by the session (a Wayland desktop asks through its portal), so the
// text says what the user can do here rather than name a settings pane.
QString permission()
{
    return L::text(QStringLiteral("Screen capture permission needed: this session does not let Tavolen read "
                                  "the screen. Allow screen capture for Tavolen when your desktop asks, "
                                  "or sign in to an X11 session, then try again."),
                   QStringLiteral("需要「屏幕捕获」权限：当前会话不允许 Tavolen 读取屏幕。请在桌面询问时允许 "
                                  "Tavolen 捕获屏幕，或登录 X11 会话，然后重试。"));
}

QString permissionButton()
{
    return L::text(QStringLiteral("Allow Screen Capture"), QStringLiteral("允许屏幕捕获"));
}

QString close()
{
    return L::text(QStringLiteral("Close"), QStringLiteral("关闭"));
}

QString replyCardHint()
{
    return L::text(QStringLiteral("Suggested reply. Press to copy it."),
                   QStringLiteral("建议回复，按下即可复制。"));
}

QString suggestedReply()
{
    return L::text(QStringLiteral("Suggested reply"), QStringLiteral("建议回复"));
}

} // namespace tavolen::panel::texts
