// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RequestHeaders.h"

#include <QRegularExpression>
#include <QUuid>

#include <cctype>

namespace tavolen::service {

bool bearerMatches(const std::string &authorization, const QString &token)
{
    const std::string scheme = "bearer ";
    if (authorization.size() < scheme.size())
        return false;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(authorization[i])) != scheme[i])
            return false;
    const std::string given = authorization.substr(scheme.size());
    const std::string expected = token.toStdString();
    if (expected.empty())
        return false;
    unsigned char diff = given.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i)
        diff |= static_cast<unsigned char>(given[i] ^ expected[i % expected.size()]);
    return diff == 0;
}

QString acceptedRequestId(const QString &sent)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._:-]{1,100}$"));
    if (plain.match(sent).hasMatch())
        return sent;
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace tavolen::service
