// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEventLoop>

#include <qcoro/qcorotask.h>

#include <optional>

namespace tavolen {

namespace detail {
template <class T> QCoro::Task<> deliver(QCoro::Task<T> task, std::optional<T> *out, QEventLoop *loop)
{
    out->emplace(co_await std::move(task));
    loop->quit();
}
} // namespace detail

// Runs a task to its end in a local event loop and returns its value, for
// command-line tools and tests; the app's own GUI work never waits like this.
// Unlike QCoro::waitFor, T need not be default-constructible.
template <class T> T runToEnd(QCoro::Task<T> &&task)
{
    std::optional<T> out;
    QEventLoop loop;
    QCoro::Task<> delivery = detail::deliver(std::move(task), &out, &loop);
    if (!out)
        loop.exec();
    return std::move(*out);
}

} // namespace tavolen
