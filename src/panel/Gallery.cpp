// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/Gallery.h"

#include "core/InterfaceLanguage.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"
#include "panel/views/FullContent.h"
#include "panel/views/PillContent.h"
#include "panel/views/ResultContent.h"
#include "ui/Glass.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <iterator>

namespace tavolen::panel {

namespace t = ui::tokens;

namespace {

// The samples stand for the service's answers, which come in the interface
// language: they are data, not words of ours for translators.
QString sample(const char *en, const char *zh)
{
    return QString::fromUtf8(serviceLanguage().startsWith(QLatin1String("zh")) ? zh : en);
}

protocol::AnalysisResult sampleResult()
{
    protocol::AnalysisResult r;
    r.platform = QStringLiteral("slack");
    r.content_type = QStringLiteral("message");
    r.detected_language = QStringLiteral("en");
    r.summary = sample("Your manager moved Friday's review to Monday and wants the draft by Thursday noon.",
                       "你的经理把周五的评审改到了周一，说“不急”，但希望周四中午前拿到初稿。");
    r.hidden_meaning =
        sample("The deadline got tighter, not looser: the extra weekend is for her, not for you.",
               "截止时间其实更紧了：多出来的周末是留给她看稿的，不是给你的。");
    r.full_translation =
        sample("Hi! Small change: the review moves to Monday. Could I see the draft by Thursday "
               "noon so I have time to go through it?",
               "嗨！小调整：评审改到周一。能在周四中午前把初稿发我吗？这样我有时间看一遍。");
    r.tone = QStringLiteral("friendly");
    r.tone_label = sample("Friendly · a little urgent", "友好 · 略急");
    r.intent = QStringLiteral("request");
    r.risk_level = QStringLiteral("medium");
    r.risk_reason = sample("Agreeing without a question commits you to a shorter week.",
                           "不加确认就答应，等于默认接受更紧的工期。");
    r.recommended_action = QStringLiteral("reply");
    r.action_reason = QStringLiteral("a direct request");
    r.auto_copy = true;
    r.respondable = true;
    r.best_reply = sample("Sure, Thursday noon works. Anything in particular you want me to focus on?",
                          "好的，周四中午没问题。有什么需要我重点准备的吗？");
    r.short_reply = sample("Thursday noon works 👍", "周四中午可以 👍");
    r.alternative_reply = sample("I can do Thursday end of day; would that still leave you enough time?",
                                 "我周四下班前能给到，这样你时间还够吗？");
    r.best_reply_label = sample("Agreeable", "爽快");
    r.alternative_reply_label = sample("Push back", "争取时间");
    r.best_reply_gloss = sample("好的，周四中午没问题。有什么需要我重点准备的吗？",
                                "Sure, Thursday noon works. Anything you want me to focus on?");
    r.short_reply_gloss = sample("周四中午可以", "Thursday noon works");
    return r;
}

protocol::AnalysisResult withRisk(protocol::AnalysisResult r, const char *level, const char *reasonEn,
                                  const char *reasonZh)
{
    r.risk_level = QString::fromLatin1(level);
    r.risk_reason = sample(reasonEn, reasonZh);
    return r;
}

protocol::AnalysisResult readingOnly()
{
    protocol::AnalysisResult r = sampleResult();
    r.respondable = false;
    r.full_translation.reset();
    r.risk_level = QStringLiteral("low");
    r.tone_label = sample("Informative", "资讯");
    r.summary = sample("A release note: version 4.2 adds offline maps and fixes the login loop.",
                       "一则更新说明：4.2 版新增离线地图，并修复了反复登录的问题。");
    r.hidden_meaning.reset();
    return r;
}

protocol::AnalysisResult longTexts()
{
    protocol::AnalysisResult r = sampleResult();
    r.summary =
        sample("A long thread in which a neighbour, writing late at night after several messages that went "
               "unanswered, asks whether the parcel that was delivered to your door by mistake on Tuesday "
               "could be dropped off before the weekend, because it holds a birthday present.",
               "邻居深夜连发几条消息都没得到回复后又写了一长段：周二快递误投到你家门口的包裹，能不能在周末前"
               "送过去，因为里面是给孩子的生日礼物，她已经有点着急了，但语气仍然尽量客气。");
    r.best_reply = sample(
        "So sorry, I only just saw this! I have your parcel and can bring it over tomorrow "
        "morning before nine, or leave it with the concierge tonight if that is easier for you.",
        "真不好意思，刚看到消息！包裹在我这儿，明早九点前给你送过去；如果更方便，今晚也可以先放在门卫那里。");
    r.alternative_reply_label =
        sample("Apologise at length and offer to walk it over right now", "长篇道歉并提出现在就亲自送过去");
    return r;
}

PanelState streamingSome()
{
    protocol::StreamPartial p;
    p.tone_label = sample("Friendly · a little urgent", "友好 · 略急");
    p.summary = sampleResult().summary;
    return PanelState::streaming(p);
}

PanelState streamingMost()
{
    protocol::StreamPartial p;
    p.tone_label = sample("Pushy", "咄咄逼人");
    p.summary = sample("Someone claiming to be your bank asks you to confirm a transfer through a link.",
                       "有人自称是你的银行，要你通过链接确认一笔转账。");
    p.hidden_meaning = sample("The urgency is the trick: banks never ask for this by message.",
                              "制造紧迫感正是骗局所在：银行从不会通过消息要求你这样做。");
    p.risk_level = QStringLiteral("high");
    p.risk_reason = sample("Looks like phishing: unknown link and a demand to act now.",
                           "疑似钓鱼：陌生链接，且要求立即操作。");
    return PanelState::streaming(p);
}

// A result card with its view state changed as a user would change it.
QWidget *resultAfter(const protocol::AnalysisResult &r,
                     const std::function<void(views::ResultContent &)> &act)
{
    auto *card = new views::FullContent(PanelState::result(r), false, ui::Backdrop::Translucent, {}, nullptr);
    act(*static_cast<views::ResultContent *>(card->contentView()));
    // Text shown before the card ever was is only measured once its layout has run.
    card->contentView()->layout()->activate();
    return card;
}

QWidget *pill(const protocol::AnalysisResult &r)
{
    auto *view = new views::PillContent(r, ui::Backdrop::Translucent, {}, nullptr);
    view->setGraphicsEffect(nullptr);
    return view;
}

} // namespace

QWidget *fullCard(const PanelState &state)
{
    return new views::FullContent(state, false, ui::Backdrop::Translucent, {}, nullptr);
}

std::vector<GalleryEntry> galleryEntries()
{
    using R = protocol::AnalysisResult;
    const auto variant = [](reply::Variant v) { return [v](views::ResultContent &c) { c.setVariant(v); }; };
    return {
        {"loading", "Loading", [] { return fullCard(PanelState::loading()); }},
        {"streaming-some", "Streaming: tone and summary", [] { return fullCard(streamingSome()); }},
        {"streaming-most", "Streaming: high risk arrived", [] { return fullCard(streamingMost()); }},
        {"result", "Result: medium risk, every chip",
         [] { return fullCard(PanelState::result(sampleResult())); }},
        {"result-translation-open", "Result: translation open",
         [] { return resultAfter(sampleResult(), [](views::ResultContent &c) { c.toggleTranslation(); }); }},
        {"result-short", "Result: the shorter reply chosen",
         [variant] { return resultAfter(sampleResult(), variant(reply::Variant::Short)); }},
        {"result-alternative", "Result: the alternative chosen (its gloss absent)",
         [variant] { return resultAfter(sampleResult(), variant(reply::Variant::Alternative)); }},
        {"result-alternative-no-label", "Result: alternative chosen, no best label (\"Original\")",
         [variant] {
             R r = sampleResult();
             r.best_reply_label.reset();
             return resultAfter(r, variant(reply::Variant::Alternative));
         }},
        {"result-high-risk", "Result: high risk",
         [] {
             return fullCard(PanelState::result(
                 withRisk(sampleResult(), "high", "The link goes to a look-alike domain, not your bank.",
                          "链接指向仿冒域名，并非你的银行。")));
         }},
        {"result-low-risk", "Result: low risk (no line, no outline)",
         [] {
             return fullCard(
                 PanelState::result(withRisk(sampleResult(), "low", "Nothing unusual.", "没有异常。")));
         }},
        {"result-no-chips", "Result: one reply only",
         [] {
             R r = sampleResult();
             r.short_reply.reset();
             r.alternative_reply_label.reset();
             r.full_translation.reset();
             return fullCard(PanelState::result(r));
         }},
        {"result-reading-only", "Result: reading-only",
         [] { return fullCard(PanelState::result(readingOnly())); }},
        {"result-no-model", "Result: from the built-in engine, which writes no replies",
         [] { return fullCard(PanelState::result(readingOnly(), false)); }},
        {"result-long", "Result: long texts", [] { return fullCard(PanelState::result(longTexts())); }},
        {"error", "Error",
         [] {
             return fullCard(PanelState::error(
                 sample("The analysis service did not answer in time. Try again in a moment.",
                        "分析服务未能及时响应，请稍后再试。")));
         }},
        {"permission", "Permission", [] { return fullCard(PanelState::permission()); }},
        {"pill", "Pill: respondable", [] { return pill(sampleResult()); }},
        {"pill-reading-only", "Pill: reading-only (summary)", [] { return pill(readingOnly()); }},
        {"pill-long", "Pill: long reply, cut at the tail", [] { return pill(longTexts()); }},
    };
}

// Whole palettes (buttons, fields, lists), so that the windows of the
// shell read in the gallery as they do on a light or a dark desktop.
QPalette lightPalette()
{
    QPalette p(QColor(0xE4, 0xE4, 0xEA), QColor(0xEF, 0xEF, 0xF2));
    p.setColor(QPalette::WindowText, Qt::black);
    return p;
}

QPalette darkPalette()
{
    QPalette p(QColor(0x33, 0x33, 0x3A), QColor(0x1E, 0x1E, 0x22));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(0x26, 0x26, 0x2B));
    p.setColor(QPalette::AlternateBase, QColor(0x2E, 0x2E, 0x34));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0x8E, 0x8E, 0x96));
    p.setColor(QPalette::Highlight, QColor(0x6C, 0x5C, 0xE7));
    return p;
}

QImage renderPanelView(QWidget *view, const QPalette &palette, double scale)
{
    view->setPalette(palette);
    view->ensurePolished();
    QSize size = view->sizeHint();
    if (view->hasHeightForWidth())
        size.setHeight(view->heightForWidth(size.width()));
    // A window of fixed size is shown at that size.
    if (view->minimumSize() == view->maximumSize())
        size = view->minimumSize();
    size.setHeight(std::max(size.height(), int(t::size::panelMinHeight)));
    view->resize(size);
    if (view->layout())
        view->layout()->activate();

    const int margin = int(t::space::shadowMargin) + 6;
    QImage image(QSize(size.width() + 2 * margin, size.height() + 2 * margin) * scale,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    // Text is laid out at the widget's resolution; paint at the same one.
    image.setDotsPerMeterX(int(view->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(int(view->logicalDpiY() / 0.0254));
    QPainter painter(&image);
    // A desktop-like backdrop, so the glass has something to show through.
    const bool dark = ui::Theme::isDark(palette);
    QLinearGradient backdrop(0, 0, image.width() / scale, image.height() / scale);
    backdrop.setColorAt(0, dark ? QColor(0x2B, 0x30, 0x45) : QColor(0xC9, 0xD6, 0xEA));
    backdrop.setColorAt(1, dark ? QColor(0x3A, 0x24, 0x3B) : QColor(0xE9, 0xD5, 0xE4));
    painter.fillRect(QRectF(0, 0, image.width() / scale, image.height() / scale), backdrop);
    QRectF card(margin, margin, size.width(), size.height());
    if (auto *pillView = dynamic_cast<views::PillContent *>(view))
        card = pillView->surface().boundingRect().translated(margin, margin);
    ui::paintShadow(painter, card, std::min(card.height() / 2, t::radius::card), t::space::shadowMargin);
    view->render(&painter, QPoint(margin, margin), QRegion(), QWidget::DrawChildren);
    painter.end();
    delete view;
    return image;
}

QString writeGallery(const QString &directory, const std::function<std::vector<GalleryEntry>()> &more)
{
    if (!QDir().mkpath(directory))
        return QStringLiteral("cannot create %1").arg(directory);
    MemorySettingsStore store;
    InterfaceLanguage language(store, [] { return QStringList{QStringLiteral("en")}; });
    struct Column {
        const char *lang;
        bool dark;
    };
    const Column columns[] = {{"en", false}, {"en", true}, {"zh", false}, {"zh", true}};
    QString rows;
    QString error;
    QHash<QString, int> widths; // logical width of each picture
    std::vector<GalleryEntry> captions;
    for (const Column &column : columns) {
        keys::appLang.set(store, QString::fromLatin1(column.lang));
        language.apply();
        std::vector<GalleryEntry> entries = galleryEntries();
        if (more)
            std::ranges::move(more(), std::back_inserter(entries));
        if (captions.empty())
            captions = entries;
        for (const GalleryEntry &entry : entries) {
            const QImage image =
                renderPanelView(entry.build(), column.dark ? darkPalette() : lightPalette(), 2);
            const QString file = QStringLiteral("%1-%2-%3.png")
                                     .arg(entry.name, QString::fromLatin1(column.lang),
                                          column.dark ? QStringLiteral("dark") : QStringLiteral("light"));
            widths.insert(file, image.width() / 2);
            if (!image.save(QDir(directory).filePath(file), "PNG"))
                error = QStringLiteral("cannot write %1").arg(file);
        }
    }
    for (const GalleryEntry &entry : captions) {
        rows += QStringLiteral("<tr><th>%1</th>").arg(entry.caption.toHtmlEscaped());
        for (const Column &column : columns) {
            const QString file = QStringLiteral("%1-%2-%3.png")
                                     .arg(entry.name, QString::fromLatin1(column.lang),
                                          column.dark ? QStringLiteral("dark") : QStringLiteral("light"));
            rows +=
                QStringLiteral("<td><img src=\"%1\" width=\"%2\"></td>").arg(file).arg(widths.value(file));
        }
        rows += QStringLiteral("</tr>\n");
    }
    QFile index(QDir(directory).filePath(QStringLiteral("index.html")));
    if (!index.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("cannot write index.html");
    index.write(QStringLiteral("<!doctype html><meta charset=\"utf-8\"><title>Tavolen panel gallery</title>\n"
                               "<style>body{font-family:sans-serif;background:#888}th{text-align:left;"
                               "vertical-align:top;max-width:10em}td{vertical-align:top}</style>\n"
                               "<table><tr><th></th><th>English, light</th><th>English, dark</th>"
                               "<th>中文，浅色</th><th>中文，深色</th></tr>\n%1</table>\n")
                    .arg(rows)
                    .toUtf8());
    return error;
}

} // namespace tavolen::panel
