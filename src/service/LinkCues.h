// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace tavolen::service {

// What the links and mail addresses of a text give away about where they
// lead: the tricks that let a scam borrow a brand's name without its domain.
struct LinkCues {
    // Any link or bare domain at all.
    bool any = false;
    // A brand's name on a domain that is not the brand's ("usps-redelivery.top",
    // "paypa1-security.com", "apple.com-unlock.support").
    bool lookAlike = false;
    // A top-level domain that costs next to nothing and is mostly thrown away
    // after one campaign (.top, .xyz, ...), or a punycode name.
    bool throwaway = false;
    // A shortener that hides where it leads, or a bare IP address.
    bool hidden = false;
    // A sender on a free mail service ("ceo.office@outlook.com").
    bool freeMailSender = false;
    // The brands named by look-alike domains, for the reason given.
    QStringList brands;

    bool suspicious() const { return lookAlike || throwaway || hidden; }
};

LinkCues readLinks(const QString &text);

} // namespace tavolen::service
