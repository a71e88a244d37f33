// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QString>

#include <optional>
#include <variant>

namespace tavolen::panel {

// What the floating result panel shows at one moment. A plain value: every
// show replaces the whole content with a view built from the new state.
class PanelState {
public:
    struct Loading {};
    struct Streaming {
        protocol::StreamPartial partial;
    };
    struct Result {
        protocol::AnalysisResult result;
        // False when the service's engine writes no replies at all (its
        // built-in one): then a reading without a reply says how to get
        // replies, not that none is needed.
        bool engineWritesReplies = true;
    };
    struct Error {
        QString message;
    };
    struct Permission {};
    using Case = std::variant<Loading, Streaming, Result, Error, Permission>;

    static PanelState loading() { return PanelState(Loading{}); }
    static PanelState streaming(protocol::StreamPartial partial)
    {
        return PanelState(Streaming{std::move(partial)});
    }
    static PanelState result(protocol::AnalysisResult result, bool engineWritesReplies = true)
    {
        return PanelState(Result{std::move(result), engineWritesReplies});
    }
    static PanelState error(QString message) { return PanelState(Error{std::move(message)}); }
    static PanelState permission() { return PanelState(Permission{}); }

    const Case &value() const { return m_case; }

    // The one content view the full layout shows for this state.
    enum class ContentView { Loading, Streaming, Result, Error, Permission };
    ContentView contentView() const;

    // The outline colour, named by its theme colour.
    enum class Tint { Danger, Caution };
    std::optional<Tint> riskTint() const;

    // loading and streaming: a visible panel does not re-animate at the next state.
    bool isInProgress() const;
    // Only a result is remembered, collapses to the pill and expands again.
    bool isCollapsible() const;

    const protocol::AnalysisResult *resultValue() const;
    // Whether the engine behind a result writes replies (true for any other state).
    bool engineWritesReplies() const;
    const protocol::StreamPartial *partialValue() const;
    const QString *errorMessage() const;

private:
    explicit PanelState(Case c) : m_case(std::move(c)) {}
    Case m_case;
};

// The full layout is this wide in every state; its height follows the content.
inline constexpr double kPanelWidth = 400;
inline constexpr double kPanelMinHeight = 44;

// Exact, case-sensitive: "high" and "medium" tint, every other text does not.
std::optional<PanelState::Tint> tintForRiskLevel(const QString &level);

} // namespace tavolen::panel
