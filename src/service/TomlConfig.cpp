// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/TomlConfig.h"

#include <toml++/toml.h>

#include <algorithm>
#include <string_view>

namespace tavolen::service {

namespace {

QString fromStd(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void collect(const toml::table &table, const QString &prefix, TomlDocument &out)
{
    for (const auto &[name, node] : table) {
        const QString key = prefix + fromStd(name.str());
        const int line = int(node.source().begin.line);
        if (const toml::table *inner = node.as_table()) {
            collect(*inner, key + QLatin1Char('.'), out);
        } else if (const auto *text = node.as_string()) {
            out.entries.append({line, key, fromStd(text->get())});
        } else if (const auto *number = node.as_integer()) {
            out.entries.append({line, key, QString::number(number->get())});
        } else if (const auto *real = node.as_floating_point()) {
            out.entries.append({line, key, QString::number(real->get())});
        } else if (const auto *flag = node.as_boolean()) {
            out.entries.append({line, key, flag->get() ? QStringLiteral("true") : QStringLiteral("false")});
        } else {
            out.problems.append({line, key, QStringLiteral("expected one string, number or boolean")});
        }
    }
}

} // namespace

TomlDocument parseTomlConfig(const QString &text)
{
    TomlDocument out;
    const QByteArray utf8 = text.toUtf8();
    try {
        const toml::table root = toml::parse(std::string_view(utf8.constData(), std::size_t(utf8.size())));
        collect(root, QString(), out);
    } catch (const toml::parse_error &error) {
        out.problems.append({int(error.source().begin.line), QString(), fromStd(error.description())});
        return out;
    }
    std::stable_sort(out.entries.begin(), out.entries.end(),
                     [](const TomlEntry &a, const TomlEntry &b) { return a.line < b.line; });
    return out;
}

} // namespace tavolen::service
