// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/ErrorTexts.h"

#include "core/L.h"

namespace tavolen::panel::texts {

namespace {

using Kind = api::TransportFailure::Kind;

struct Sentence {
    const char *en;
    const char *zh;
};

// One sentence a failure, %1 being the service's address. The address is
// what lets a user tell a typo in the settings from a service that is down.
Sentence sentenceFor(Kind kind)
{
    switch (kind) {
    case Kind::connectionRefused:
        return {"The analysis service at %1 refused the connection. It may be down; try again later.",
                "分析服务 %1 拒绝了连接，可能暂时不可用，请稍后再试。"};
    case Kind::hostNotFound:
        return {"Couldn't find the analysis service at %1. Check the address and your internet connection.",
                "找不到分析服务 %1，请检查地址和网络连接。"};
    case Kind::idleTimeout:
        return {"The analysis service at %1 stopped answering. Try again.",
                "分析服务 %1 长时间没有回应，请重试。"};
    case Kind::deadline:
        return {"The analysis took too long and was stopped. Try again.", "分析用时过长，已停止，请重试。"};
    case Kind::tls:
        return {"Couldn't connect securely to %1. Check the address (http or https) and the system's "
                "certificates.",
                "无法与 %1 建立安全连接。请检查地址（http 还是 https）和系统证书。"};
    case Kind::connectionClosed:
        return {"The analysis service closed the connection before it answered. Try again.",
                "分析服务在回答前断开了连接，请重试。"};
    case Kind::proxy:
        return {"The proxy couldn't reach the analysis service. Check your proxy settings.",
                "代理无法连接分析服务，请检查代理设置。"};
    case Kind::noResponse:
        return {"No response", "无网络响应"};
    case Kind::other:
        break;
    }
    return {"Couldn't reach the analysis service at %1.", "无法连接分析服务 %1。"};
}

QString pick(const Sentence &s)
{
    return L::text(QString::fromUtf8(s.en), QString::fromUtf8(s.zh));
}

} // namespace

QString transportFailure(const api::TransportFailure &failure)
{
    // The built-in service runs on this machine: when nothing answers there,
    // the likeliest cause is that it was never started.
    if (failure.localService && failure.kind == Kind::connectionRefused)
        return L::text(QStringLiteral("Nothing answered at %1: the local analysis service may not be "
                                      "running. Start it with tavolen-service, then try again."),
                       QStringLiteral(
                           "%1 没有响应：本机分析服务可能没有运行。请先启动 tavolen-service，再试一次。"))
            .arg(failure.address);
    QString text = pick(sentenceFor(failure.kind));
    if (text.contains(QLatin1String("%1")))
        text = text.arg(failure.address.isEmpty()
                            ? L::text(QStringLiteral("its address"), QStringLiteral("该地址"))
                            : failure.address);
    // A failure we have no sentence for keeps the network library's own
    // words, for whoever has to look into it.
    if (failure.kind == Kind::other && !failure.detail.isEmpty())
        text += L::text(QStringLiteral(" (%1)"), QStringLiteral("（%1）")).arg(failure.detail);
    return text;
}

QString clientError(const api::APIClientError &error)
{
    struct Describe {
        QString operator()(const api::APIClientError::Http &h) const
        {
            if (h.message)
                return *h.message;
            return L::text(QStringLiteral("That didn't work — try again"),
                           QStringLiteral("这次没分析成功，请重试"));
        }
        QString operator()(const api::APIClientError::Transport &t) const
        {
            return transportFailure(t.failure);
        }
        QString operator()(const api::APIClientError::QuotaExceeded &) const
        {
            return L::text(QStringLiteral("You've used today's free analyses."),
                           QStringLiteral("今天的免费次数用完了，明天再试试。"));
        }
        QString operator()(const api::APIClientError::Decode &) const
        {
            return L::text(QStringLiteral("Unexpected response"), QStringLiteral("返回格式异常"));
        }
    };
    return std::visit(Describe{}, error.value());
}

QString analysisError(const api::AnalysisError &error)
{
    if (const auto *client = std::get_if<api::APIClientError>(&error))
        return clientError(*client);
    return std::get<PlatformError>(error).description;
}

} // namespace tavolen::panel::texts
