// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/Gallery.h"
#include "panel/views/FullContent.h"
#include "panel/views/PillContent.h"
#include "panel/views/ReadingParts.h"
#include "panel/views/ReplyCard.h"
#include "panel/views/ResultContent.h"
#include "support/ScopedSettings.h"
#include "support/ServiceAnswers.h"
#include "ui/Buttons.h"
#include "ui/TextBlock.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontMetricsF>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::panel;
using namespace tavolen::panel::views;
using reply::Variant;

namespace {

// A result card shown in a window of its own, with what it asks of the panel recorded.
struct Card {
    explicit Card(protocol::AnalysisResult result, PanelState state = PanelState::loading())
    {
        PanelActions actions;
        actions.copy = [this](const QString &text) { copies.push_back(text); };
        actions.resize = [this] { ++resizes; };
        actions.setUpModel = [this] { ++setUps; };
        const PanelState shown = result.summary.isNull() ? state : PanelState::result(std::move(result));
        full = std::make_unique<FullContent>(shown, false, ui::Backdrop::Opaque, actions, nullptr);
        full->resize(full->sizeHint());
        full->show();
    }
    template <class W = QWidget> W *part(const char *name) const { return full->findChild<W *>(name); }
    bool shows(const char *name) const
    {
        QWidget *w = part(name);
        return w && w->isVisibleTo(full.get());
    }
    ResultContent &content() const { return *static_cast<ResultContent *>(full->contentView()); }
    ReplyCard *card() const { return part<ReplyCard>(part::replyCard); }

    std::unique_ptr<FullContent> full;
    std::vector<QString> copies;
    int resizes = 0;
    int setUps = 0;
};

QString title(const Card &c, const char *chip)
{
    return c.part<QAbstractButton>(chip)->text();
}

} // namespace

TEST(ResultView, ShowsEachPartOnlyUnderItsCondition)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult r = test::sampleResult();
    r.full_translation = QStringLiteral("T");
    r.hidden_meaning = QStringLiteral("H");
    r.risk_level = QStringLiteral("medium");
    Card all(r);
    for (const char *name :
         {part::toneChip, part::summary, part::translationToggle, part::hiddenMeaning, part::riskLine,
          part::replyCard, part::alternativeChip, part::shortChip, part::trustBadge, part::closeButton})
        EXPECT_TRUE(all.shows(name)) << name;
    EXPECT_FALSE(all.shows(part::translation)) << "folded until asked for";
    EXPECT_FALSE(all.part(part::readingOnly));

    r.tone_label = QString();
    r.hidden_meaning = QString();
    r.full_translation.reset();
    r.risk_level = QStringLiteral("low");
    r.short_reply.reset();
    r.alternative_reply_label.reset();
    Card bare(r);
    for (const char *name : {part::toneChip, part::translationToggle, part::hiddenMeaning, part::riskLine,
                             part::alternativeChip, part::shortChip})
        EXPECT_FALSE(bare.part(name)) << name;
    EXPECT_TRUE(bare.shows(part::replyCard));
}

TEST(ResultView, ReadingOnlyFooterReplacesTheCardWhenNotRespondableOrWithoutAReply)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult notRespondable = test::sampleResult();
    notRespondable.respondable = false;
    protocol::AnalysisResult emptyReply = test::sampleResult();
    emptyReply.respondable.reset();
    emptyReply.best_reply = QString();
    for (const protocol::AnalysisResult &r : {notRespondable, emptyReply}) {
        Card c(r);
        EXPECT_TRUE(c.shows(part::readingOnly));
        EXPECT_TRUE(c.shows(part::trustBadge));
        EXPECT_FALSE(c.card());
        EXPECT_FALSE(c.part(part::shortChip));
        EXPECT_FALSE(c.part(part::alternativeChip));
    }
}

TEST(ResultView, AReadingFromAnEngineWithoutRepliesSaysTheyNeedAModelAndLinksToItsSetUp)
{
    test::ScopedSettings settings({QStringLiteral("zh-CN")});
    protocol::AnalysisResult offline = test::sampleResult();
    offline.respondable = false;
    offline.best_reply.reset();
    Card zh({}, PanelState::result(offline, false));
    EXPECT_EQ(zh.part<ui::TextBlock>(part::readingOnly)->text(), QStringLiteral("回复需要接入语言模型"));
    auto *link = zh.part<QAbstractButton>(part::setUpModel);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->text(), QStringLiteral("去设置…"));
    // A link that the keyboard reaches and a screen reader names.
    EXPECT_EQ(link->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(link)->text(QAccessible::Name),
              QStringLiteral("去设置…"));
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(zh.setUps, 1);

    settings.setAppLang(QStringLiteral("en"));
    Card en({}, PanelState::result(offline, false));
    EXPECT_EQ(en.part<ui::TextBlock>(part::readingOnly)->text(),
              QStringLiteral("Replies need a language model"));
    // An engine that writes replies chose not to here: nothing to set up.
    Card model({}, PanelState::result(offline, true));
    EXPECT_EQ(model.part<ui::TextBlock>(part::readingOnly)->text(),
              QStringLiteral("Reading-only · no reply needed"));
    EXPECT_FALSE(model.part(part::setUpModel));
}

TEST(ResultView, RiskLineColourFollowsTheExactLevel)
{
    test::ScopedSettings settings;
    const std::pair<const char *, std::optional<ui::Ink>> levels[] = {
        {"high", ui::Ink::Danger}, {"medium", ui::Ink::Caution}, {"High", ui::Ink::Caution},
        {"", ui::Ink::Caution},    {"low", std::nullopt},
    };
    for (const auto &[level, ink] : levels) {
        protocol::AnalysisResult r = test::sampleResult();
        r.risk_level = QString::fromLatin1(level);
        r.risk_reason = QStringLiteral("why");
        Card c(r);
        auto *line = c.part<ui::TextBlock>(part::riskLine);
        ASSERT_EQ(bool(line), bool(ink)) << level;
        if (ink) {
            EXPECT_EQ(line->ink(), *ink) << level;
        }
    }
}

TEST(ResultView, ChipsSwitchCopyAndRetitleThemselves)
{
    for (const char *lang : {"en", "zh"}) {
        test::ScopedSettings settings;
        settings.setAppLang(QString::fromLatin1(lang));
        const QString original =
            lang == QStringLiteral("en") ? QStringLiteral("Original") : QStringLiteral("原版");
        const QString shorter =
            lang == QStringLiteral("en") ? QStringLiteral("Shorter") : QStringLiteral("更短");
        protocol::AnalysisResult r = test::sampleResult();
        r.best_reply_label.reset();
        r.short_reply_gloss.reset();
        r.alternative_reply_gloss.reset();
        Card c(r);
        EXPECT_EQ(title(c, part::shortChip), shorter);
        EXPECT_EQ(title(c, part::alternativeChip), QStringLiteral("Cool"));

        QTest::mouseClick(c.part<QAbstractButton>(part::shortChip), Qt::LeftButton);
        EXPECT_EQ(c.content().variant(), Variant::Short);
        EXPECT_EQ(c.card()->replyText(), QStringLiteral("Ok"));
        EXPECT_EQ(c.card()->glossText(), QStringLiteral("g1")) << "the best reply's gloss stands in";
        EXPECT_EQ(title(c, part::shortChip), original);

        // Straight from the short reply to the alternative; its gloss has no stand-in.
        QTest::mouseClick(c.part<QAbstractButton>(part::alternativeChip), Qt::LeftButton);
        EXPECT_EQ(c.card()->replyText(), QStringLiteral("A"));
        EXPECT_EQ(c.card()->glossText(), QString());
        EXPECT_EQ(title(c, part::alternativeChip), original) << "no best label";
        EXPECT_EQ(title(c, part::shortChip), shorter);

        QTest::mouseClick(c.part<QAbstractButton>(part::alternativeChip), Qt::LeftButton);
        EXPECT_EQ(c.content().variant(), Variant::Best);
        EXPECT_EQ(c.copies, (std::vector<QString>{"Ok", "A", "Sure!"}));
        EXPECT_EQ(c.resizes, 0) << "the re-measure waits for the event loop";
        QTest::qWait(1);
        EXPECT_EQ(c.resizes, 3);
    }
}

TEST(ResultView, CardCopiesOnClickEnterAndSpaceAndEachCopyPulsesTheBadge)
{
    test::ScopedSettings settings;
    Card c(test::sampleResult());
    ReplyCard *card = c.card();
    EXPECT_EQ(card->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(card, Qt::LeftButton);
    QTest::mouseClick(card, Qt::LeftButton);
    EXPECT_EQ(c.copies.size(), 2u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return card->badgeLevel() > 0.9; }, 1000));
    // Back at rest about 0.45 s after the first click plus the 0.3 s fade.
    EXPECT_TRUE(QTest::qWaitFor([&] { return card->badgeLevel() == 0; }, 1500));
    card->setFocus();
    QTest::keyClick(card, Qt::Key_Return);
    QTest::keyClick(card, Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.copies.size() == 4; }, 1000));
    EXPECT_EQ(c.copies.back(), QStringLiteral("Sure!"));
}

TEST(ResultView, TranslationOpensAndClosesAndAsksForARemeasureEachTime)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult r = test::sampleResult();
    r.full_translation = QStringLiteral("The whole text, translated.");
    Card c(r);
    auto *toggle = c.part<QAbstractButton>(part::translationToggle);
    const int folded = c.full->heightForWidth(400);
    // Measured when the deferred re-measure runs, as the panel does.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(c.resizes, 0);
    QTest::qWait(1);
    EXPECT_EQ(c.resizes, 1);
    EXPECT_TRUE(c.shows(part::translation));
    EXPECT_EQ(toggle->text(), QStringLiteral("Hide translation"));
    EXPECT_GT(c.full->heightForWidth(400), folded);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::qWait(1);
    EXPECT_EQ(c.resizes, 2);
    EXPECT_FALSE(c.shows(part::translation));
    EXPECT_EQ(c.full->heightForWidth(400), folded);
}

TEST(ResultView, TabMovesThroughToggleCardAndChipsAndEveryControlIsNamed)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult r = test::sampleResult();
    r.full_translation = QStringLiteral("T");
    Card c(r);
    std::vector<QString> order;
    QWidget *w = c.full.get();
    do {
        w = w->nextInFocusChain();
        if (w->focusPolicy() & Qt::TabFocus)
            order.push_back(w->objectName());
    } while (w != c.full.get());
    EXPECT_EQ(order, (std::vector<QString>{part::translationToggle, part::replyCard, part::alternativeChip,
                                           part::shortChip}));

    for (const char *lang : {"en", "zh"}) {
        settings.setAppLang(QString::fromLatin1(lang));
        Card named(r);
        for (const char *name : {part::translationToggle, part::replyCard, part::alternativeChip,
                                 part::shortChip, part::closeButton}) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(named.part(name));
            ASSERT_TRUE(a) << name;
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << name;
            EXPECT_TRUE(a->role() == QAccessible::Button || a->role() == QAccessible::CheckBox) << name;
        }
        const QString close =
            QAccessible::queryAccessibleInterface(named.part(part::closeButton))->text(QAccessible::Name);
        EXPECT_EQ(close, lang == QStringLiteral("en") ? QStringLiteral("Close") : QStringLiteral("关闭"));
    }
}

TEST(FullCard, IsFourHundredWideWithTheCloseButtonTenInAndARiskOutlineOnlyForRiskyStates)
{
    test::ScopedSettings settings;
    protocol::StreamPartial high;
    high.risk_level = QStringLiteral("high");
    protocol::AnalysisResult medium = test::sampleResult();
    medium.risk_level = QStringLiteral("medium");
    const std::pair<PanelState, std::optional<QRgb>> states[] = {
        {PanelState::loading(), std::nullopt},
        {PanelState::streaming({}), std::nullopt},
        {PanelState::streaming(high), 0xB4453C},
        {PanelState::result(medium), 0xC2762E},
        {PanelState::result(test::sampleResult()), std::nullopt},
        {PanelState::error(QString()), std::nullopt},
        {PanelState::permission(), std::nullopt},
    };
    for (const auto &[state, outline] : states) {
        FullContent card(state, false, ui::Backdrop::Opaque, {}, nullptr);
        card.resize(card.sizeHint());
        EXPECT_EQ(card.width(), 400);
        EXPECT_GE(card.heightForWidth(400), 44);
        const QRectF close = card.closeButton()->face().translated(card.closeButton()->pos());
        EXPECT_EQ(close, QRectF(400 - 10 - 22, 10, 22, 22));
        ASSERT_EQ(card.riskOutline().has_value(), outline.has_value());
        if (outline) {
            EXPECT_EQ(card.riskOutline()->rgb() & 0xFFFFFF, *outline);
            EXPECT_NEAR(card.riskOutline()->alphaF(), 0.55, 0.01);
        }
    }
}

TEST(StreamingView, GrowsWithThePartialAndKeepsTheProgressRow)
{
    test::ScopedSettings settings;
    protocol::StreamPartial p;
    Card empty({}, PanelState::streaming(p));
    EXPECT_TRUE(empty.shows(part::progressMark));
    EXPECT_EQ(empty.part<QLabel>(part::progressText)->text(), QStringLiteral("Writing your reply…"));
    EXPECT_FALSE(empty.part(part::summary));
    EXPECT_FALSE(empty.part(part::toneChip));

    p.summary = QString();
    p.risk_reason = QStringLiteral("odd link");
    Card reason({}, PanelState::streaming(p));
    EXPECT_FALSE(reason.part(part::summary)) << "an empty summary is not shown";
    EXPECT_EQ(reason.part<ui::TextBlock>(part::riskLine)->ink(), ui::Ink::Caution) << "no level yet";
    p.risk_level = QStringLiteral("low");
    EXPECT_FALSE(Card({}, PanelState::streaming(p)).part(part::riskLine));
}

TEST(ResultView, LongChipLabelsKeepTheirWholeWidthAndTheBadgeMovesBelowThem)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult r = test::sampleResult();
    r.alternative_reply_label = QStringLiteral("Apologise and offer a call");
    FullContent card(PanelState::result(r), false, ui::Backdrop::Opaque, {}, nullptr);
    card.resize(400, card.heightForWidth(400));
    card.show();
    auto *chip = card.findChild<QAbstractButton *>(part::alternativeChip);
    auto *shorter = card.findChild<QAbstractButton *>(part::shortChip);
    ASSERT_TRUE(chip && shorter);
    EXPECT_GE(chip->width(), chip->sizeHint().width()) << "not cut";
    EXPECT_GE(shorter->width(), shorter->sizeHint().width());
    QWidget *badge = card.findChild<QWidget *>(part::trustBadge);
    ASSERT_TRUE(badge);
    EXPECT_GE(badge->y(), chip->geometry().bottom()) << "on a row of its own";
}

TEST(ResultView, ATextButtonShowsItsFocusWithoutTouchingItsLetters)
{
    ui::TextButton button(QStringLiteral("Hide translation"), ui::tokens::type::translationToggle,
                          ui::Ink::Accent, nullptr);
    button.resize(button.sizeHint());
    const auto picture = [&] {
        QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    const QImage plain = picture();
    button.show();
    button.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&button));
    button.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button.hasFocus());
    const QImage focused = picture();
    int changed = 0, overLetters = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != focused.pixel(x, y)) {
                ++changed;
                overLetters += qAlpha(plain.pixel(x, y)) > 60;
            }
    EXPECT_GT(changed, 0) << "the focus shows";
    EXPECT_EQ(overLetters, 0) << "not over the H's stem or any letter";
}

TEST(Pill, OneLineCutAtTheTailWithinThreeHundredForty)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult r = test::sampleResult();
    r.best_reply = QString(200, QLatin1Char('w'));
    PillContent pill(r, ui::Backdrop::Opaque, {}, nullptr);
    pill.resize(pill.sizeHint().width(), 44);
    pill.show();
    EXPECT_EQ(pill.sizeHint().width(), 340);
    EXPECT_TRUE(pill.line()->shownText().endsWith(QStringLiteral("…")));
    EXPECT_LT(pill.line()->shownText().size(), 200);

    r.best_reply = QStringLiteral("Sure!");
    EXPECT_LT(PillContent(r, ui::Backdrop::Opaque, {}, nullptr).sizeHint().width(), 200) << "short content";
    // A line that fits within 340 is shown whole, in a pill as wide as it needs.
    r.best_reply = QStringLiteral("Thanks! Happy to compare notes anytime.");
    PillContent whole(r, ui::Backdrop::Opaque, {}, nullptr);
    whole.resize(whole.sizeHint().width(), 44);
    whole.show();
    EXPECT_LT(whole.width(), 340);
    EXPECT_EQ(whole.line()->shownText(), *r.best_reply) << whole.width() << " " << whole.line()->width();

    // Reading-only shows the summary with the book; a respondable result
    // without a reply (or with an empty one), the summary with the check.
    const std::tuple<bool, std::optional<QString>, ui::Glyph> cases[] = {
        {false, QStringLiteral("Sure!"), ui::Glyph::Book},
        {true, std::nullopt, ui::Glyph::CheckCircle},
        {true, QString(), ui::Glyph::CheckCircle},
    };
    for (const auto &[respondable, reply, glyph] : cases) {
        protocol::AnalysisResult s = test::sampleResult();
        s.respondable = respondable;
        s.best_reply = reply;
        PillContent shown(s, ui::Backdrop::Opaque, {}, nullptr);
        EXPECT_EQ(shown.line()->text(), QStringLiteral("S"));
        EXPECT_EQ(shown.findChild<QWidget *>(part::pillIcon)->property("glyph").toInt(), int(glyph));
    }
}

TEST(FullCard, FollowsASwitchBetweenLightAndDarkWithoutBeingRebuilt)
{
    test::ScopedSettings settings;
    protocol::AnalysisResult r = test::sampleResult();
    r.risk_level = QStringLiteral("high");
    FullContent card(PanelState::result(r), false, ui::Backdrop::Opaque, {}, nullptr);
    card.resize(card.sizeHint());
    const auto glass = [&] {
        QImage image(card.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        card.render(&image, {}, {}, QWidget::DrawChildren);
        return image.pixelColor(200, 3);
    };
    card.setPalette(lightPalette());
    EXPECT_EQ(card.riskOutline()->rgb() & 0xFFFFFF, 0xB4453Cu);
    EXPECT_GT(glass().lightness(), 200);
    card.setPalette(darkPalette());
    EXPECT_EQ(card.riskOutline()->rgb() & 0xFFFFFF, 0xD97469u);
    EXPECT_LT(glass().lightness(), 80);
}

TEST(ResultView, ChineseKeepsItsSemiboldAndTakesFullWidthQuotesFromOneFamily)
{
    // Semibold Han characters carry visibly more ink than regular ones.
    const QString han = QStringLiteral("方案整体还行");
    const auto ink = [&](QFont::Weight weight) {
        ui::tokens::TypeStyle type = ui::tokens::type::summary;
        type.weight = weight;
        QImage image(200, 30, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(ui::makeFont(type, &image, han));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(2, 22), han);
        painter.end();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(ink(QFont::DemiBold), ink(QFont::Normal) * 1.15);
    // The quotes in a Chinese line are the CJK font's, as wide as a character.
    const QFontMetricsF metrics(
        ui::makeFont(ui::tokens::type::summary, nullptr, QStringLiteral("方案“整体还行”")));
    EXPECT_GT(metrics.horizontalAdvance(QChar(0x201C)), 0.8 * metrics.horizontalAdvance(QChar(0x65B9)));
}
