// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdlib>
#include <memory>

namespace tavolen::platform::x11 {

// xcb hands out replies (and errors) allocated with malloc; the caller frees
// them. This owns one and frees it however the scope is left.
struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

} // namespace tavolen::platform::x11
