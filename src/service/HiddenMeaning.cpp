// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/HiddenMeaning.h"

namespace tavolen::service {

std::optional<QString> hiddenMeaning(const RiskAssessment &risk, bool backhanded, bool zh)
{
    using Sign = RiskAssessment::Sign;
    const auto w = [zh](const char *en, const char *chinese) {
        return std::optional<QString>(QString::fromUtf8(zh ? chinese : en));
    };
    // The weightiest pattern speaks; a reading names one aim, not a list.
    if (risk.has(Sign::Blackmail))
        return w("It is blackmail: they want you frightened enough to pay.", "这是勒索：想吓得你乖乖付钱。");
    if (risk.kinds.contains(RiskAssessment::Kind::Threat))
        return w("They want to frighten you into doing what they say.", "对方想吓唬你，逼你照他说的做。");
    if (risk.level != QLatin1String("high") && !backhanded)
        return std::nullopt;
    if (risk.has(Sign::NewNumber))
        return w("Someone posing as a person you know wants money before you can check it is them.",
                 "有人冒充熟人，想在你核实身份之前让你转钱。");
    if (risk.has(Sign::SecretAsked))
        return w("They want your code or card details to take your account or your money.",
                 "对方想拿到你的验证码或银行卡信息，盗用你的账户或钱财。");
    if (risk.has(Sign::Promise))
        return w("No honest investment guarantees returns; the promise is bait for your deposit.",
                 "正规投资不会保证收益，这个承诺是骗你充值的诱饵。");
    if (risk.has(Sign::LookAlikeLink) || risk.has(Sign::ThrowawayLink) || risk.has(Sign::HiddenLink))
        return w("They want you to act before you check the link.", "对方想让你来不及核实链接就行动。");
    if (risk.has(Sign::NewChannel))
        return w("They move you to another app, where no platform can warn or protect you.",
                 "对方想把你拉到别的聊天工具，脱离平台的提醒和保护。");
    if (risk.has(Sign::Authority))
        return w("The sender pretends to be someone they are not, to make you pay or obey.",
                 "对方冒充某种身份，想让你付钱或听从。");
    if (risk.kinds.value(0) == RiskAssessment::Kind::Phishing)
        return w("They want your account details, and want them before you stop to check.",
                 "对方想趁你来不及核实，骗取你的账户信息。");
    if (risk.level == QLatin1String("high"))
        return w("The easy money is bait: they will ask you to pay first.",
                 "好处是诱饵：接下来会要你先掏钱。");
    if (backhanded)
        return w("The praise is not meant: it mocks what went wrong.", "这句夸奖是反话，其实是在挖苦。");
    return std::nullopt;
}

} // namespace tavolen::service
