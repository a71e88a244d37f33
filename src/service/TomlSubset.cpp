#include "service/TomlSubset.h"

#include <optional>

namespace tavolen::service {

namespace {

// The rest of a line after a value must be blank or a comment.
bool onlyCommentLeft(QStringView rest)
{
    rest = rest.trimmed();
    return rest.isEmpty() || rest.startsWith(QLatin1Char('#'));
}

// A TOML basic string's body after its opening quote; nullopt when it is
// not closed on the line or holds a bad escape.
std::optional<QString> basicString(QStringView s, QStringView &rest)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('"')) {
            rest = s.mid(i + 1);
            return out;
        }
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= s.size())
            return std::nullopt;
        switch (s[i].unicode()) {
        case 'b':
            out += QLatin1Char('\b');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'f':
            out += QLatin1Char('\f');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '"':
            out += QLatin1Char('"');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        case 'u':
        case 'U': {
            const int digits = s[i] == QLatin1Char('u') ? 4 : 8;
            if (i + digits >= s.size())
                return std::nullopt;
            bool ok = false;
            const uint code = s.mid(i + 1, digits).toUInt(&ok, 16);
            if (!ok || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                return std::nullopt;
            const char32_t c32 = code;
            out += QString::fromUcs4(&c32, 1);
            i += digits;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The value's text, or nullopt with `problem` set.
std::optional<QString> parseValue(QStringView v, QString &problem)
{
    v = v.trimmed();
    QStringView rest;
    std::optional<QString> value;
    if (v.startsWith(QLatin1Char('"'))) {
        value = basicString(v.mid(1), rest);
    } else if (v.startsWith(QLatin1Char('\''))) {
        const qsizetype end = v.indexOf(QLatin1Char('\''), 1);
        if (end > 0) {
            value = v.mid(1, end - 1).toString();
            rest = v.mid(end + 1);
        }
    } else {
        // A number, a boolean, or (leniently) a bare word, up to a comment.
        const qsizetype hash = v.indexOf(QLatin1Char('#'));
        value = (hash < 0 ? v : v.left(hash)).trimmed().toString();
        if (value->isEmpty())
            value.reset();
    }
    if (!value) {
        problem = QStringLiteral("unreadable value");
        return std::nullopt;
    }
    if (!onlyCommentLeft(rest)) {
        problem = QStringLiteral("unexpected text after the value");
        return std::nullopt;
    }
    return value;
}

} // namespace

TomlDocument parseTomlSubset(const QString &text)
{
    TomlDocument doc;
    QString table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const int lineNo = int(n + 1);
        const QStringView line = QStringView(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close < 0 || line.startsWith(QLatin1String("[[")) || !onlyCommentLeft(line.mid(close + 1))) {
                doc.problems.append({lineNo, {}, QStringLiteral("unreadable table header")});
                continue;
            }
            table = line.mid(1, close - 1).trimmed().toString();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            doc.problems.append({lineNo, {}, QStringLiteral("expected key = value")});
            continue;
        }
        QString key = line.left(eq).trimmed().toString();
        if (key.size() >= 2 && key.startsWith(QLatin1Char('"')) && key.endsWith(QLatin1Char('"')))
            key = key.mid(1, key.size() - 2);
        if (!table.isEmpty())
            key = table + QLatin1Char('.') + key;
        QString problem;
        if (const std::optional<QString> value = parseValue(line.mid(eq + 1), problem))
            doc.entries.append({lineNo, key, *value});
        else
            doc.problems.append({lineNo, key, problem});
    }
    return doc;
}

} // namespace tavolen::service
