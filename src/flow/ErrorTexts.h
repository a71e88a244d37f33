// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/APIClientError.h"

#include <QString>

// What went wrong, worded for the person at the screen in the interface
// language of the moment the text is built: a short sentence they can act
// on, never a network library's message alone.
namespace tavolen::flow::texts {

QString analysisError(const api::AnalysisError &error);
QString clientError(const api::APIClientError &error);
QString transportFailure(const api::TransportFailure &failure);

} // namespace tavolen::flow::texts
