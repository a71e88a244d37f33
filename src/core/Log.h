// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// What Tavolen says about itself for a bug report. Quiet by default (only
// warnings pass); QT_LOGGING_RULES="tavolen.*=true" turns every category on.
// Nothing here may carry what the user captured or was told: no text of a
// reading, no pixels, no token, no device id.
Q_DECLARE_LOGGING_CATEGORY(lcApi)      // tavolen.api: calls to the analysis service
Q_DECLARE_LOGGING_CATEGORY(lcCapture)  // tavolen.capture: selections and grabs
Q_DECLARE_LOGGING_CATEGORY(lcFlow)     // tavolen.flow: the phases of a capture run
Q_DECLARE_LOGGING_CATEGORY(lcPanel)    // tavolen.panel: what the panel shows
Q_DECLARE_LOGGING_CATEGORY(lcPlatform) // tavolen.platform: the backends chosen
Q_DECLARE_LOGGING_CATEGORY(lcApp)      // tavolen.app: launches and hand-overs
Q_DECLARE_LOGGING_CATEGORY(lcModels)   // tavolen.models: model servers found, checked and chosen
Q_DECLARE_LOGGING_CATEGORY(
    lcService) // tavolen.service: the local service's set-up and the steps of a reading
