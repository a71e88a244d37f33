// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ReadingGuard.h"

#include "service/RiskAssessment.h"
#include "service/TextCues.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <utility>

namespace tavolen::service {

namespace {

// How long each text may be, and whether line breaks belong in it: the
// panel lays out a few sentences of reading, and a field longer than that is
// a model running away (or told to) rather than more meaning.
struct Bound {
    qsizetype cap;
    bool lines;
};
constexpr Bound kLabel{40, false};
constexpr Bound kCode{32, false};
constexpr Bound kShortText{200, false};
constexpr Bound kReading{400, false};
constexpr Bound kReason{300, false};
constexpr Bound kReply{500, true};
constexpr Bound kTranslation{4000, true};

std::optional<Bound> earlyBound(const QString &field)
{
    if (field == u"tone_label")
        return kLabel;
    if (field == u"summary" || field == u"hidden_meaning")
        return kReading;
    if (field == u"risk_reason")
        return kReason;
    return std::nullopt;
}

bool invisible(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F ||
           c == 0x061C || (c >= 0x200B && c <= 0x200D) || c == 0x2060 || c == 0xFEFF;
}

void clean(QString &text, Bound bound)
{
    text = cleanedText(text, bound.cap, bound.lines);
}

void clean(std::optional<QString> &text, Bound bound)
{
    if (text)
        clean(*text, bound);
}

int rank(const QString &level)
{
    const QString grade = level.trimmed().toLower();
    if (grade == u"high")
        return 2;
    if (grade == u"medium")
        return 1;
    if (grade == u"low")
        return 0;
    return -1;
}

const std::array<QString, 3> kLevels{QStringLiteral("low"), QStringLiteral("medium"), QStringLiteral("high")};

bool hasOneTimeCode(const QString &text)
{
    static const QRegularExpression sixDigits(QStringLiteral(R"((?<![\d.,])\d{6}(?![\d]))"));
    if (sixDigits.match(text).hasMatch())
        return true;
    static const QRegularExpression number(QStringLiteral(R"((?<![\d.,])\d{4,8}(?!\d))"));
    static const QRegularExpression codeWord(
        QStringLiteral(R"(\b(?:codes?|otp|passcodes?|pin|2fa)\b|验证码|校验码|动态码|动态密码|口令)"),
        QRegularExpression::CaseInsensitiveOption);
    constexpr qsizetype kNear = 40;
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype from = std::max<qsizetype>(0, m.capturedStart() - kNear);
        const QString around = text.mid(from, m.capturedEnd() + kNear - from);
        if (codeWord.match(around).hasMatch())
            return true;
    }
    return false;
}

bool hasPassword(const QString &text)
{
    static const QRegularExpression named(
        QStringLiteral(R"(\b(?:password|passwd|pwd|passcode)\b\s*(?:[:：=]|\bis\b)\s*\S)"
                       R"(|\b(?:password|passwd|pwd)\s+\S*\d)"
                       R"(|(?:密码|口令)\s*(?:[:：=]|是|为)?\s*[\x21-\x7E]{3,})"),
        QRegularExpression::CaseInsensitiveOption);
    if (named.match(text).hasMatch())
        return true;
    // A long run of letters, digits and symbols together reads as a
    // generated secret whatever words stand around it.
    static const QRegularExpression spaces(QStringLiteral(R"(\s+)"));
    for (QString token : text.split(spaces, Qt::SkipEmptyParts)) {
        static const QRegularExpression edges(QStringLiteral(R"re(^[("'“‘]+|[.,;:!?)"'”’]+$)re"));
        token.remove(edges);
        if (token.size() < 10)
            continue;
        bool letter = false, digit = false, symbol = false;
        for (const QChar c : token) {
            letter = letter || c.isLetter();
            digit = digit || c.isDigit();
            symbol = symbol || (!c.isLetterOrNumber() && c.isPrint());
        }
        if (letter && digit && symbol)
            return true;
    }
    return false;
}

bool hasCardNumber(const QString &text)
{
    static const QRegularExpression run(QStringLiteral(R"((?<!\d)\d(?:[ -]?\d){12,18}(?!\d))"));
    for (auto it = run.globalMatch(text); it.hasNext();) {
        QString digits = it.next().captured();
        digits.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
        if (digits.size() >= 13 && digits.size() <= 19 && passesLuhn(digits))
            return true;
    }
    return false;
}

bool hasLink(const QString &text)
{
    static const QRegularExpression link(
        QStringLiteral(R"(https?://|\bwww\.|(?<![\w@.-])(?:[a-z0-9](?:[a-z0-9-]{0,61}[a-z0-9])?\.)+)"
                       R"((?:com|net|org|edu|gov|info|biz|io|co|me|app|dev|ai|xyz|top|site|online|shop|)"
                       R"(store|live|vip|club|link|click|page|win|bid|loan|work|fun|icu|buzz|sbs|cfd|cyou|)"
                       R"(lol|rest|asia|ly|gl|gg|to|tv|cc|tk|ml|ga|cf|gq|ws|pw|su|cn|hk|tw|sg|jp|kr|ru|)"
                       R"(uk|de|fr|nl|es|it|ch|se|pl|br|mx|ca|au|in|us|eu)(?![\w-]))"),
        QRegularExpression::CaseInsensitiveOption);
    return link.match(text).hasMatch();
}

} // namespace

QString cleanedText(const QString &text, qsizetype cap, bool keepLineBreaks)
{
    QString out;
    out.reserve(std::min(text.size(), cap + 1));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029) {
            out += keepLineBreaks ? QLatin1Char('\n') : QLatin1Char(' ');
            continue;
        }
        if (c == u'\t') {
            out += QLatin1Char(' ');
            continue;
        }
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || invisible(c))
            continue;
        out += QChar(c);
    }
    out = out.trimmed();
    if (out.size() > cap) {
        qsizetype cut = std::max<qsizetype>(0, cap - 1);
        // Never half a character.
        if (cut > 0 && out[cut - 1].isHighSurrogate())
            --cut;
        out.truncate(cut);
        out += QChar(0x2026);
    }
    return out;
}

bool carriesSecret(const QString &reply)
{
    return hasOneTimeCode(reply) || hasPassword(reply) || hasCardNumber(reply) || hasLink(reply);
}

ReadingGuard::ReadingGuard(const QString &capturedText, const QString &uiLanguage)
    : m_floorLevel(QStringLiteral("low")), m_zh(prefersChinese(uiLanguage))
{
    if (capturedText.trimmed().isEmpty())
        return;
    const RiskAssessment floor = assessRisk(TextCues(capturedText));
    m_floorLevel = floor.level;
    m_floorReason = riskReason(floor, m_zh);
}

std::optional<protocol::FieldEvent> ReadingGuard::beforeTheFloor(const protocol::FieldEvent &event)
{
    if (event.field == u"risk_level" || event.field == u"risk_reason")
        return std::nullopt;
    return cleanedEarly(event);
}

std::optional<protocol::FieldEvent> ReadingGuard::cleanedEarly(const protocol::FieldEvent &event)
{
    const std::optional<Bound> bound = earlyBound(event.field);
    if (!bound)
        return std::nullopt;
    protocol::FieldEvent out = event;
    clean(out.value, *bound);
    return out;
}

void ReadingGuard::passField(const protocol::FieldEvent &event, const FieldSink &out)
{
    const int floor = rank(m_floorLevel);
    if (event.field == u"risk_level") {
        if (m_levelSent)
            return;
        const int said = event.value ? rank(*event.value) : -1;
        // A level the app could not read says nothing; only a floor above
        // "low" is worth sending in its place.
        if (said < 0 && floor == 0)
            return;
        m_levelWasRaised = said < floor;
        m_levelSent = true;
        out({event.field, kLevels[std::size_t(std::max(said, floor))]});
        if (std::exchange(m_reasonWaiting, false))
            passField({QStringLiteral("risk_reason"), std::exchange(m_waitingReason, {})}, out);
        return;
    }
    std::optional<protocol::FieldEvent> cleaned = cleanedEarly(event);
    if (!cleaned)
        return;
    if (event.field == u"risk_reason" && floor > 0) {
        if (!m_levelSent) {
            m_reasonWaiting = true;
            m_waitingReason = cleaned->value;
            return;
        }
        if (m_levelWasRaised || !cleaned->value || cleaned->value->isEmpty())
            cleaned->value = m_floorReason;
    }
    out(*cleaned);
}

QStringList ReadingGuard::apply(protocol::AnalysisResult &r) const
{
    QStringList changes;
    const protocol::AnalysisResult before = r;

    clean(r.platform, kCode);
    clean(r.content_type, kCode);
    clean(r.detected_language, kCode);
    clean(r.summary, kReading);
    clean(r.hidden_meaning, kReading);
    clean(r.full_translation, kTranslation);
    clean(r.tone, kLabel);
    clean(r.tone_label, kLabel);
    clean(r.intent, kShortText);
    clean(r.risk_reason, kReason);
    clean(r.recommended_action, kShortText);
    clean(r.action_reason, kReason);
    clean(r.reply_language, kCode);
    for (std::optional<QString> *reply : {&r.best_reply, &r.short_reply, &r.alternative_reply})
        clean(*reply, kReply);
    for (std::optional<QString> *label : {&r.best_reply_label, &r.alternative_reply_label})
        clean(*label, kLabel);
    for (std::optional<QString> *gloss :
         {&r.best_reply_gloss, &r.short_reply_gloss, &r.alternative_reply_gloss})
        clean(*gloss, kReply);
    if (r != before)
        changes << QStringLiteral("cleaned");

    const int floor = rank(m_floorLevel);
    const int said = rank(r.risk_level);
    if (said < floor) {
        r.risk_level = m_floorLevel;
        // The model's reason explains a rating that no longer stands.
        if (m_floorReason)
            r.risk_reason = m_floorReason;
        changes << QStringLiteral("risk_raised");
    } else {
        r.risk_level = kLevels[std::size_t(said)];
        if ((!r.risk_reason || r.risk_reason->isEmpty()) && floor > 0)
            r.risk_reason = m_floorReason;
    }

    if (floor == 2) {
        const bool offered = r.best_reply || r.short_reply || r.alternative_reply || r.respondable != false;
        if (said < floor) {
            // A model that rated it lower also advised as if it were safe.
            const auto w = [this](const char *en, const char *zh) {
                return QString::fromUtf8(m_zh ? zh : en);
            };
            r.recommended_action = w("Don't reply, pay or open its links; block and report the sender.",
                                     "不要回复、付款或打开其中的链接；拉黑并举报对方。");
            r.action_reason = w("Its wording matches known scams, phishing or threats.",
                                "它的措辞与常见的诈骗、钓鱼或威胁相符。");
        }
        r.respondable = false;
        r.reply_language.reset();
        for (std::optional<QString> *field :
             {&r.best_reply, &r.short_reply, &r.alternative_reply, &r.best_reply_label,
              &r.alternative_reply_label, &r.best_reply_gloss, &r.short_reply_gloss,
              &r.alternative_reply_gloss})
            field->reset();
        if (offered)
            changes << QStringLiteral("replies_withheld");
    }

    // Copying happens without the person looking: only an ordinary reply
    // to a message that is safe to answer is worth that.
    bool copyable =
        r.best_reply && !r.best_reply->isEmpty() && r.respondable != false && r.risk_level != u"high";
    for (const std::optional<QString> *reply : {&r.best_reply, &r.short_reply, &r.alternative_reply})
        copyable = copyable && !(*reply && carriesSecret(**reply));
    if (r.auto_copy && !copyable) {
        r.auto_copy = false;
        changes << QStringLiteral("auto_copy_withheld");
    }
    return changes;
}

} // namespace tavolen::service
