// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavolen::test {

// The desktop portal as a program on the bus sees it: it owns
// org.freedesktop.portal.Desktop and answers the GlobalShortcuts and Screenshot methods,
// each with its Request's Response, as the settings below say. It records
// what it was asked.
class FakePortal final : public QDBusVirtualObject {
public:
    struct BoundShortcut {
        QString session;
        QString id;
        QString description;
        QString preferredTrigger;
    };

    explicit FakePortal(QDBusConnection bus);
    ~FakePortal() override;

    // Emits Activated from the portal.
    void activate(const QString &session, const QString &shortcutId);

    // nullopt: the portal offers no GlobalShortcuts.
    std::optional<uint> shortcutsVersion = 1;
    uint createSessionCode = 0;
    uint bindCode = 0;
    bool sessionHandleAsObjectPath = false;
    // Activated for the shortcut being bound, sent before the bind's Response.
    bool pressWhileBinding = false;

    // nullopt: the portal offers no Screenshot. A screenshot answers with
    // `screenshotCode` and, on success, the uri of `screenshotFile`.
    std::optional<uint> screenshotVersion = 1;
    uint screenshotCode = 0;
    QString screenshotFile;
    QVariantMap screenshotOptions;
    // The request is made but its Response never comes (a dialog left open).
    bool screenshotUnanswered = false;
    QStringList closedRequests;

    int versionQueries = 0;
    int createSessionCalls = 0;
    QString lastSession;
    QString bindSignature;
    std::vector<BoundShortcut> bound;
    QStringList closedSessions;

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    void answerLater(const QDBusMessage &call, const QVariantMap &options, uint code,
                     const QVariantMap &results);
    void createSession(const QDBusMessage &call);
    void bindShortcuts(const QDBusMessage &call);

    QDBusConnection m_bus;
};

} // namespace tavolen::test
