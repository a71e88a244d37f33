// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/ServiceConfig.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tavolen::service {

// What loading the configuration gave: the settings, and what was wrong with
// the sources. Errors stop the service; warnings (unknown keys) do not.
struct ConfigLoad {
    ServiceConfig config;
    QStringList errors;
    QStringList warnings;
};

// $TAVOLEN_SERVICE_CONFIG, else $XDG_CONFIG_HOME/tavolen/service.toml
// (~/.config when XDG_CONFIG_HOME is unset).
QString defaultConfigPath(const QProcessEnvironment &env);

// Reads `key = value` lines of a TOML subset into `config`: comments, [llm]
// tables (keys become "llm.KEY"), basic and literal strings, integers and
// booleans. `origin` names the source in messages.
void applyConfigText(const QString &text, const QString &origin, ConfigLoad &out);

// TAVOLEN_SERVICE_* variables, which override the file.
void applyEnvironment(const QProcessEnvironment &env, ConfigLoad &out);

// Defaults, then the file at `path` if it exists, then the environment.
ConfigLoad loadConfig(const QString &path, const QProcessEnvironment &env);

// The keys and variables, for --help.
QString configHelp();

} // namespace tavolen::service
