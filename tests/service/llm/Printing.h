// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QString>

#include <ostream>

// Failures show Qt texts and field events as text rather than bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace tavolen::protocol {
inline void PrintTo(const FieldEvent &e, std::ostream *os)
{
    *os << e.field.toStdString() << "=" << (e.value ? '"' + e.value->toStdString() + '"' : "(absent)");
}
} // namespace tavolen::protocol
