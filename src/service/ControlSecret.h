// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <memory>

namespace tavolen::service {

// The secret a local program (the app) shows to ask this service to reload:
// 32 random bytes as 64 hex digits, in $XDG_RUNTIME_DIR/tavolen/service-PORT.secret,
// which only this user may enter or read. Whoever can read it is this user
// already; the port in the name keeps instances on other ports apart.
class ControlSecret {
public:
    // The secret written for `port` in `runtimeDir`, or nullptr with `error`.
    static std::unique_ptr<ControlSecret> create(const QString &runtimeDir, int port, QString &error);
    // Removes the file: a stopped service takes no requests.
    ~ControlSecret();
    ControlSecret(const ControlSecret &) = delete;
    ControlSecret &operator=(const ControlSecret &) = delete;

    const QString &value() const { return m_value; }
    const QString &path() const { return m_path; }

private:
    ControlSecret(QString path, QString value) : m_path(std::move(path)), m_value(std::move(value)) {}

    QString m_path;
    QString m_value;
};

} // namespace tavolen::service
