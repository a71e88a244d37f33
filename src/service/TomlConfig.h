// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

namespace tavolen::service {

// One setting of the file; keys under a [table] header come as "table.key".
struct TomlEntry {
    int line = 0;
    QString key;
    // Strings as they are; numbers and booleans written out as TOML writes them.
    QString value;
};

struct TomlProblem {
    int line = 0;
    QString key; // empty when the problem is not one key's
    QString problem;
};

struct TomlDocument {
    QList<TomlEntry> entries; // in the order of their lines
    QList<TomlProblem> problems;
};

// Reads a configuration file with toml++. A file that is not TOML is one
// problem, at the line where it stops being TOML, and gives no entries: a
// half-read file would start the service with settings nobody chose. A
// value that is not one string, number or boolean (an array, a date) is a
// problem of its key.
TomlDocument parseTomlConfig(const QString &text);

} // namespace tavolen::service
