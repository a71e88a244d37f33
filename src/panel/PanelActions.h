// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

namespace tavolen::panel {

// What the panel's views may ask of the panel and of the system. Every
// callback is bound to the panel's life by whoever fills it in; an empty
// one does nothing.
struct PanelActions {
    std::function<void()> close = {};
    std::function<void(bool)> hover = {};
    // The content's height changed through a user action.
    std::function<void()> resize = {};
    std::function<void(const QString &)> copy = {};
    // Asks the platform for screen access (the permission view's button).
    std::function<void()> requestAccess = {};
    // Opens Settings where a language model is connected (the link under a
    // reading from an engine that writes no replies).
    std::function<void()> setUpModel = {};
};

// Calls `f` with `args` when it is set.
template <typename F, typename... Args> void call(const F &f, Args &&...args)
{
    if (f)
        f(std::forward<Args>(args)...);
}

} // namespace tavolen::panel
