// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/ServiceConfig.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavolen::service {

// What loading the configuration gave: the settings, and what was wrong with
// the sources. Errors stop the service; warnings (unknown keys) do not.
struct ConfigLoad {
    ServiceConfig config;
    QStringList errors;
    QStringList warnings;
};

struct TomlDocument;

// A file's errors, gathered from wherever they are found and reported in the
// file's line order.
class LineErrors {
public:
    // Begins with the parser's own mistakes in `doc`, as "origin:line: key: problem".
    LineErrors(const TomlDocument &doc, const QString &origin);
    void add(int line, QString error) { m_errors.append({line, std::move(error)}); }
    // Appends them to `out`, in line order.
    void reportTo(QStringList &out);

private:
    QList<std::pair<int, QString>> m_errors;
};

// $TAVOLEN_SERVICE_CONFIG, else $XDG_CONFIG_HOME/tavolen/service.toml
// (~/.config when XDG_CONFIG_HOME is unset).
QString defaultConfigPath(const QProcessEnvironment &env);

// Reads `key = value` lines of a TOML subset into `config`: comments, [llm]
// tables (keys become "llm.KEY"), basic and literal strings, integers and
// booleans. `origin` names the source in messages.
void applyConfigText(const QString &text, const QString &origin, ConfigLoad &out);

// One key of the file (e.g. "llm.model") set from its text; what is wrong
// with it, prefixed with `where` and the key, or "".
QString applySetting(const QString &key, const QString &value, const QString &where, ServiceConfig &config);

// TAVOLEN_SERVICE_* variables, which override the file.
void applyEnvironment(const QProcessEnvironment &env, ConfigLoad &out);

// Whether the configuration file was named by the user (--config,
// $TAVOLEN_SERVICE_CONFIG), so that it must exist, or is the default one.
enum class ConfigFile { Default, Named };

inline constexpr qint64 kMaxConfigBytes = 1024 * 1024;

// The text of the file at `path`, or nothing with the reason in `errors`:
// its absence is an error only when named; a file that is not a regular one
// (a FIFO, a device) or larger than kMaxConfigBytes is an error and is not
// read.
std::optional<QString> readConfigText(const QString &path, ConfigFile file, QStringList &errors);

// The file at `path` into `out`: its absence is an error only when named; a
// file that is not a regular one (a FIFO, a device) or larger than
// kMaxConfigBytes is an error and is not read.
void readConfigFile(const QString &path, ConfigFile file, ConfigLoad &out);

// Defaults, then the file at `path`, then the model chosen in the app
// (model.toml beside it), then the environment; a model half
// configured (a base URL without a model name, or the reverse) is an error.
ConfigLoad loadConfig(const QString &path, const QProcessEnvironment &env,
                      ConfigFile file = ConfigFile::Default);

// The keys and variables, for --help.
QString configHelp();

} // namespace tavolen::service
