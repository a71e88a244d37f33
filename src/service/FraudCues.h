// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/LinkCues.h"
#include "service/TextCues.h"

namespace tavolen::service {

// The moves a scam makes, whatever words it dresses them in: one alone is
// everyday life ("I sent the rent by transfer", "this is my new number"),
// together they are the scam.
struct FraudCues {
    LinkCues links;
    // Money changes hands: an amount, a payment, a transfer, a fee.
    bool money = false;
    // A deadline or pressure to act at once.
    bool urgent = false;
    // The conversation moves elsewhere: a new number, a QQ, WeChat or
    // Telegram contact to add.
    bool newChannel = false;
    // ... because the writer says this is their new number or account, as
    // someone the reader knows would.
    bool newNumber = false;
    // The reader is asked for a code, a card's details or gift cards.
    bool secretAsked = false;
    // Profits are promised: guaranteed returns, money multiplied.
    bool promise = false;
    // The account or parcel is said to be blocked, held or about to close.
    bool accountHeld = false;
    // The writer claims an office they would need to prove: police, support,
    // the boss.
    bool claimsAuthority = false;
    // Pay or obey, or something is exposed or done to you.
    bool blackmail = false;
    // The text warns about scams rather than running one.
    bool warning = false;
};

FraudCues readFraudCues(const TextCues &cues, const QString &text);

} // namespace tavolen::service
