#pragma once

#include <QList>
#include <QString>

namespace tavolen::service {

// One `key = value` line; keys under a [table] header come as "table.key".
struct TomlEntry {
    int line = 0;
    QString key;
    // Strings with their escapes resolved; numbers and booleans as written.
    QString value;
};

struct TomlProblem {
    int line = 0;
    QString key; // empty when the line has none
    QString problem;
};

struct TomlDocument {
    QList<TomlEntry> entries;
    QList<TomlProblem> problems;
};

// The TOML a configuration file needs: comments, [table] headers, basic and
// literal strings, integers and booleans, one value a line. A line it cannot
// read is a problem; the lines around it still count.
TomlDocument parseTomlSubset(const QString &text);

} // namespace tavolen::service
