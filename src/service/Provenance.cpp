// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/Provenance.h"

#include <QStringList>

namespace tavolen::service {

namespace {

struct PlatformCues {
    const char *name;
    // Any one of these names the platform outright.
    QStringList names;
    // Words of its interface: two of them (or one beside an @handle) count.
    QStringList interface;
    bool handles = false;
};

const QList<PlatformCues> &platforms()
{
    static const QList<PlatformCues> list = {
        {"x",
         {"twitter", "x.com", "tweet", "tweets", "retweeted", "推特"},
         {"retweet", "repost", "reposts", "quote", "quotes", "views", "for you", "following",
          "show more replies", "replying to", "translate post", "转帖", "查看帖子"},
         true},
        {"weibo", {"微博", "weibo", "超话"}, {"转发", "评论", "赞", "热搜", "关注"}},
        {"wechat",
         {"微信", "wechat", "朋友圈", "公众号", "视频号", "weixin"},
         {"红包", "语音通话", "视频通话", "拍了拍", "撤回了一条消息", "发消息", "通讯录"}},
        {"reddit",
         {"reddit", "subreddit"},
         {"upvote", "upvotes", "downvote", "r/", "u/", "award", "crosspost"}},
        {"facebook",
         {"facebook", "messenger"},
         {"most relevant", "write a comment", "all reactions", "see more"}},
        {"instagram", {"instagram"}, {"liked by", "view all comments", "reels", "story"}},
        {"linkedin", {"linkedin"}, {"endorse", "1st", "2nd", "3rd+", "promoted", "followers"}},
        {"douyin", {"抖音", "douyin"}, {}},
        {"tiktok", {"tiktok"}, {}},
        {"xiaohongshu", {"小红书", "xiaohongshu"}, {"笔记", "收藏", "种草"}},
        {"whatsapp",
         {"whatsapp"},
         {"end-to-end encrypted", "typing…", "last seen", "online", "type a message"}},
        {"telegram", {"telegram"}, {"last seen recently", "write a message"}},
        {"discord", {"discord"}, {}},
        {"slack", {"slack"}, {}},
        {"sms", {"imessage", "text message", "sms", "短信"}, {}},
    };
    return list;
}

const QStringList kEmailHeaders = {"from:", "to:", "subject:", "cc:", "发件人", "收件人", "主题", "抄送"};
const QStringList kCommentCues = {"replying to", "replied", "回复@", "回复 @", "reply to", "in reply to"};
const QStringList kMessagePlatforms = {"wechat", "whatsapp", "telegram", "discord", "slack", "sms"};
const QStringList kPostPlatforms = {"x",        "weibo",  "reddit", "facebook",   "instagram",
                                    "linkedin", "douyin", "tiktok", "xiaohongshu"};

} // namespace

Provenance guessProvenance(const TextCues &cues, bool hasText)
{
    Provenance out;
    if (!hasText) {
        out.contentType = QStringLiteral("none");
        return out;
    }
    if (cues.found(kEmailHeaders).size() >= 2) {
        out.platform = QStringLiteral("email");
        out.contentType = QStringLiteral("email");
        return out;
    }
    int best = 0;
    for (const PlatformCues &p : platforms()) {
        const int score = (cues.any(p.names) ? 3 : 0) + int(cues.found(p.interface).size()) +
                          (p.handles && cues.hasHandle() ? 1 : 0);
        if (score >= 2 && score > best) {
            best = score;
            out.platform = QLatin1String(p.name);
        }
    }
    if (cues.any(kCommentCues))
        out.contentType = QStringLiteral("comment");
    else if (kMessagePlatforms.contains(out.platform))
        out.contentType = QStringLiteral("message");
    else if (kPostPlatforms.contains(out.platform))
        out.contentType = QStringLiteral("post");
    return out;
}

} // namespace tavolen::service
