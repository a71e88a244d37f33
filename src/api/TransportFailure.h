// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::api {

// How a request failed to produce a usable HTTP answer. A value only: the
// panel words it for a person, in the interface language of the moment.
struct TransportFailure {
    enum class Kind {
        connectionRefused, // nothing listens at the address
        hostNotFound,      // the name did not resolve
        idleTimeout,       // the peer went silent for longer than the idle limit
        deadline,          // the whole exchange took longer than allowed
        tls,               // no secure connection (handshake, certificate)
        connectionClosed,  // the peer hung up before the answer was whole
        proxy,             // the proxy refused, failed or was not found
        noResponse,        // an answer came that was not an HTTP response
        other,
    };
    Kind kind = Kind::other;
    // host:port of the service that failed, as the user configured it.
    QString address;
    // The service runs on this machine (the built-in one, or the user's
    // own), which the user may simply not have started.
    bool localService = false;
    // Qt's own words (English, for developers): shown only after the
    // sentence for a failure of no known kind.
    QString detail;

    bool operator==(const TransportFailure &) const = default;
};

// The kind's short name, for logs and test output ("refused", "idle time-out"...).
const char *kindName(TransportFailure::Kind kind);

} // namespace tavolen::api
