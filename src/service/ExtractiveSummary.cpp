// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ExtractiveSummary.h"

#include "service/TextScript.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace tavolen::service {

namespace {

// Longest summary, in characters: about two lines of the panel.
constexpr qsizetype kMaxLatin = 220;
constexpr qsizetype kMaxCjk = 90;

// `line`: trimmed.
bool isChrome(const QString &line)
{
    static const QSet<QString> buttons = [] {
        QSet<QString> s;
        for (const char *w : {"reply",          "replies",
                              "retweet",        "retweets",
                              "repost",         "reposts",
                              "quote",          "quotes",
                              "like",           "likes",
                              "share",          "follow",
                              "following",      "followers",
                              "views",          "view",
                              "comment",        "comments",
                              "more",           "show more",
                              "translate post", "see translation",
                              "bookmark",       "send",
                              "message",        "copy link",
                              "回复",           "转发",
                              "点赞",           "赞",
                              "分享",           "评论",
                              "关注",           "收藏",
                              "更多",           "展开",
                              "全文",           "发送",
                              "翻译",           "查看翻译",
                              "举报",           "已关注",
                              "forward",        "archive",
                              "归档",           "retweet",
                              "like",           "share"})
            s.insert(QString::fromUtf8(w));
        return s;
    }();
    static const QRegularExpression header(
        QStringLiteral(
            "^(from|to|cc|bcc|date|sent|subject|reply-to|发件人|收件人|抄送|时间|日期|主题)\\s*[:：]"),
        QRegularExpression::CaseInsensitiveOption);
    // "@handle", "@handle · 2h", "2h", "Mar 3", "12:05", "1.2K", "3 replies"...
    static const QRegularExpression meta(
        QStringLiteral(
            "^(@\\w+)?[\\s·•|–—-]*(\\d{1,2}[:.]\\d{2}(\\s*[ap]m)?|\\d+\\s*[smhdw]|\\d+\\s*(min|mins|"
            "hours?|days?|"
            "分钟前|小时前|天前)|[a-z]{3,9}\\.? \\d{1,2}(, "
            "\\d{4})?|\\d{4}[-/.年]\\d{1,2}[-/.月]\\d{1,2}日?)?[\\s·•|–—-]*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression counts(
        QStringLiteral(
            "^[\\d\\s.,kmw万亿·•|]*(replies|reposts|likes|views|comments|shares)?[\\d\\s.,kmw万·•|]*$"),
        QRegularExpression::CaseInsensitiveOption);

    // A chat's or a mailbox's title bar, its status line and its empty
    // message field: "< 微信(3)", "last seen recently", "Type a message".
    static const QRegularExpression frame(
        QStringLiteral(
            "^[<‹←]?\\s*(微信|wechat|messages|inbox|收件箱|home|首页|私信|chats|telegram|whatsapp|短信|"
            "notifications|for you|explore)\\s*([(（]\\d+[)）])?$|^(online|typing\\W*|last "
            "seen.*|在线|正在输入.*)$|"
            "^(type a message|write a message\\W*|start a new message|message\\W*|发私信|text "
            "message|imessage|"
            "sms)([\\s·•:.,-]+(today|yesterday|今天|昨天).*)?$|^(短信)([\\s·•:.,-]+.*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression phone(QStringLiteral("^\\+?[\\d\\s().-]{5,}$"));
    const QString l = line.toLower();
    if (buttons.contains(l) || header.match(l).hasMatch() || meta.match(l).hasMatch() ||
        counts.match(l).hasMatch() || frame.match(l).hasMatch() || phone.match(l).hasMatch())
        return true;
    // A toolbar: buttons and little else ("Reply   Retweet   Like", "转发评论 赞
    // 收藏", of which OCR may misread one).
    int pressed = 0;
    QString rest;
    for (QString word : l.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (buttons.contains(word)) {
            ++pressed;
            continue;
        }
        for (const QString &b : buttons)
            if (b.size() >= 2 && isCjk(b.front().unicode()) && word.contains(b))
                pressed += int(word.count(b)), word.remove(b);
        rest += word;
    }
    if (pressed >= 2 && std::count_if(rest.begin(), rest.end(), [](QChar c) { return c.isLetter(); }) < 3)
        return true;
    // A handle and the time since, as OCR breaks them: "@ig_ support - 2h".
    static const QRegularExpression handleTime(
        QStringLiteral("^@\\S.{0,30}\\b\\d{1,3}\\s*(s|m|h|d|w|min|mins|hours?|days?|分钟前|小时前|天前)$"));
    if (handleTime.match(l).hasMatch())
        return true;
    // A name, a handle and perhaps a time, as OCR reads them: "Jane Doe
    // @jane · 2h", "张三 @zhangsan .3 小时", "Replying to @jane".
    static const QRegularExpression byline(
        QStringLiteral("^[^@!?。！？]{0,40}@\\w{2,}[\\s·•.,:|–—-]*\\d*\\s*\\p{L}{0,6}\\s*$"));
    if (byline.match(line).hasMatch())
        return true;
    qsizetype letters = 0;
    for (const QChar c : l)
        letters += c.isLetter() ? 1 : 0;
    return letters < 2;
}

// A few words without sentence punctuation or digits, as a display name is.
bool looksLikeAName(const QString &line)
{
    static const QRegularExpression name(QStringLiteral("^[^.!?。！？,，:：;；@#\\d]{1,40}$"));
    // ... or a user name of one word: "anon_7731".
    static const QRegularExpression userName(QStringLiteral("^[\\w.]*_[\\w.]*$"));
    return (name.match(line).hasMatch() && line.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() <= 4) ||
           userName.match(line).hasMatch();
}

// Chinese and Japanese run their words together; Korean spaces them.
bool cjkText(const QString &text)
{
    const QString language = guessTextLanguage(text);
    return language == QLatin1String("zh") || language == QLatin1String("ja");
}

// Cuts at a sentence end past `min` characters, else at a word before `max`.
QString trimTo(const QString &text, qsizetype min, qsizetype max, bool cjk)
{
    // Latin sentences end before a space; Chinese ones need none.
    static const QRegularExpression sentenceEnd(
        QStringLiteral("[.!?…]+[\"'”’)）]*(\\s|$)|[。！？]+[”’）」』]*"));
    qsizetype cut = -1;
    for (auto it = sentenceEnd.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const qsizetype end = m.capturedEnd() - (m.captured().back().isSpace() ? 1 : 0);
        if (end > max)
            break;
        cut = end;
        if (end >= min)
            break;
    }
    if (cut > 0)
        return text.left(cut).trimmed();
    if (text.size() <= max)
        return text;
    qsizetype at = max - 1;
    if (!cjk) {
        const qsizetype space = text.lastIndexOf(QLatin1Char(' '), at);
        if (space > max / 2)
            at = space;
    }
    return text.left(at).trimmed() + QChar(0x2026);
}

// The lines of a screenshot's text that carry what was written, without the
// application's own words around it: handles, times, counters, buttons
// ("Reply", "转发") and mail headers.
QStringList contentLines(const QString &text, bool partial)
{
    QStringList out;
    QStringList wordy;
    QString previous;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString l = line.trimmed();
        if (l.isEmpty())
            continue;
        if (!isChrome(l)) {
            out << l;
        } else {
            // A mail's subject sits above its headers: a heading, not its text.
            static const QRegularExpression header(QStringLiteral("^(from|to|发件人|收件人)\\s*[:：]"),
                                                   QRegularExpression::CaseInsensitiveOption);
            if (out.size() <= 2 && header.match(l).hasMatch())
                out.clear();
            // A display name on its own line above its handle ("Maya Thompson",
            // "@maya · 2h") heads the post; it is not the post's first words.
            if (l.startsWith(QLatin1Char('@')) && out.size() == 1 && out.front() == previous &&
                looksLikeAName(previous))
                out.clear();
            if (std::count_if(l.begin(), l.end(), [](QChar c) { return c.isLetter(); }) >= 2)
                wordy << l;
        }
        previous = l;
    }
    // Names above the message (the chat's name, the sender's) head it: the
    // message is what follows. The first lines of a page may hold nothing
    // but them, and then there is nothing to say yet.
    while (!out.isEmpty() && looksLikeAName(out.front()) && (out.size() > 1 || partial))
        out.removeFirst();
    // A short reply ("thanks @sam") looks like a byline; better it than nothing.
    return out.isEmpty() && !partial ? wordy : out;
}

} // namespace

QString extractiveSummary(const QString &text, bool firstLinesOnly)
{
    const QStringList lines = contentLines(text, firstLinesOnly);
    if (lines.isEmpty())
        return {};
    const bool cjk = cjkText(lines.join(QLatin1Char(' ')));
    // Lines wrapped by the screen rejoin into sentences.
    QString joined;
    for (const QString &l : lines) {
        if (!joined.isEmpty() && !(cjk && isCjk(joined.back().unicode()) && isCjk(l.front().unicode())))
            joined += QLatin1Char(' ');
        joined += l;
    }
    return cjk ? trimTo(joined, 12, kMaxCjk, true) : trimTo(joined, 40, kMaxLatin, false);
}

QString contentText(const QString &text)
{
    return contentLines(text, false).join(QLatin1Char('\n'));
}

QString interfaceText(const QString &text)
{
    static const QRegularExpression sender(QStringLiteral("^(from|发件人)\\s*[:：]"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression replying(QStringLiteral("^(replying to|in reply to|回复)\\s*@"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString l = line.trimmed();
        if (l.isEmpty() || !isChrome(l))
            continue;
        // Who wrote it says nothing of where: "Instagram Support" may write
        // from anywhere. Its header and its byline keep only their form.
        if (const auto m = sender.match(l); m.hasMatch())
            out << m.captured(0);
        else if (const qsizetype at = l.indexOf(QLatin1Char('@')); at > 0 && !replying.match(l).hasMatch())
            out << l.mid(at);
        else
            out << l;
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace tavolen::service
