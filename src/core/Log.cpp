// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Log.h"

Q_LOGGING_CATEGORY(lcApi, "tavolen.api", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCapture, "tavolen.capture", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFlow, "tavolen.flow", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPanel, "tavolen.panel", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "tavolen.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "tavolen.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcModels, "tavolen.models", QtWarningMsg)
Q_LOGGING_CATEGORY(lcService, "tavolen.service", QtWarningMsg)
