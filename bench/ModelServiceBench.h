// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTemporaryDir>

// The service with a language model that answers at once, beside the
// offline engine, on a 900 x 220 post; prints its figures. 0 when it ran.
int modelServiceStage(const QTemporaryDir &dir);
