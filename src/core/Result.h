// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>
#include <variant>

namespace tavolen {

// A value or the error that took its place. Failures travel up to the capture
// flow as values, so nothing in a run throws across the event loop.
template <class T, class E> class Result {
public:
    Result(T value) : m_v(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : m_v(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(m_v); }
    T &value() & { return std::get<0>(m_v); }
    T &&value() && { return std::get<0>(std::move(m_v)); }
    const E &error() const & { return std::get<1>(m_v); }
    E &&error() && { return std::get<1>(std::move(m_v)); }

private:
    std::variant<T, E> m_v;
};

} // namespace tavolen
