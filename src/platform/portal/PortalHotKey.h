// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/GlobalHotKey.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <qcoro/qcorotask.h>

namespace tavolen::platform::portal {

// The trigger on Wayland: a shortcut the desktop binds for us through the
// GlobalShortcuts portal, in a session that lives as long as this object.
// Where the portal lacks the interface, nothing is bound and the user binds
// `tavolen capture` in the desktop's own settings.
class PortalHotKey final : public QObject, public GlobalHotKey {
    Q_OBJECT
public:
    explicit PortalHotKey(QDBusConnection bus, QObject *parent = nullptr);
    ~PortalHotKey() override;

    void start(std::function<void()> onPress) override;
    void setPurpose(const QString &purpose) override { m_purpose = purpose; }

    // Whether the desktop has accepted the shortcut: false until it answers,
    // and for good after a refusal.
    bool isBound() const override { return m_bound; }

private Q_SLOTS:
    void onActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                     const QVariantMap &options);

private:
    QCoro::Task<> bindShortcut();
    void listen(const QString &portalOwner);
    void stopListening();

    QDBusConnection m_bus;
    std::function<void()> m_onPress;
    QString m_purpose;
    QString m_session;
    QString m_portalOwner;
    bool m_started = false;
    bool m_bound = false;
};

} // namespace tavolen::platform::portal
