// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QSize>

#include <optional>

struct Pix;

namespace tavolen::service {

// JPEG decoding that says nothing: libjpeg's own error manager prints its
// warnings ("Corrupt JPEG data: …") to the service's stderr, which is its
// log, and what it says about a picture is no business of the log.

// The picture's size from its header; nothing for what is no readable JPEG.
std::optional<QSize> jpegSize(const QByteArray &jpeg);

// The picture in 8-bit grey, which is what the recogniser reads, or null for
// what is no readable JPEG. The caller owns it (pixDestroy).
Pix *decodeGreyJpeg(const QByteArray &jpeg);

} // namespace tavolen::service
