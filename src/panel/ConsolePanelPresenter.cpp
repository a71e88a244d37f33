// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/ConsolePanelPresenter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace tavolen::panel {

namespace {

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

void putOptional(QJsonObject &o, const char *key, const std::optional<QString> &value)
{
    if (value)
        o.insert(QLatin1String(key), *value);
}

} // namespace

ConsolePanelPresenter::ConsolePanelPresenter(QIODevice *out) : m_out(out)
{}

QByteArray ConsolePanelPresenter::line(const PanelState &state, std::optional<QRectF> near)
{
    QJsonObject o;
    std::visit(Overloaded{
                   [&](const PanelState::Loading &) {
                       o.insert(QStringLiteral("state"), QStringLiteral("loading"));
                   },
                   [&](const PanelState::Streaming &s) {
                       o.insert(QStringLiteral("state"), QStringLiteral("streaming"));
                       putOptional(o, "summary", s.partial.summary);
                   },
                   [&](const PanelState::Result &r) {
                       o.insert(QStringLiteral("state"), QStringLiteral("result"));
                       o.insert(QStringLiteral("summary"), r.result.summary);
                       putOptional(o, "best_reply", r.result.best_reply);
                   },
                   [&](const PanelState::Error &e) {
                       o.insert(QStringLiteral("state"), QStringLiteral("error"));
                       o.insert(QStringLiteral("message"), e.message);
                   },
                   [&](const PanelState::Permission &) {
                       o.insert(QStringLiteral("state"), QStringLiteral("permission"));
                   },
               },
               state.value());
    if (near)
        o.insert(QStringLiteral("near"), QJsonArray{near->x(), near->y(), near->width(), near->height()});
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

void ConsolePanelPresenter::show(const PanelState &state, std::optional<QRectF> near)
{
    write(line(state, near));
}

void ConsolePanelPresenter::hide()
{
    write(QByteArrayLiteral("{\"state\":\"hidden\"}"));
}

void ConsolePanelPresenter::write(const QByteArray &text)
{
    if (m_out) {
        m_out->write(text + '\n');
        return;
    }
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace tavolen::panel
