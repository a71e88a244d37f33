// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench stream: the client's time per streamed line, from the bytes
// having arrived to the partial handler having run, for a stream of 200
// field events; beside the time only to cut the same bytes into lines, the
// floor any line-by-line reader pays.

#include "BenchDesktop.h"
#include "api/Api.h"
#include "protocol/LineSplitter.h"
#include "protocol/StreamReader.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

using namespace tavolen;

namespace {

constexpr int kEvents = 200;
constexpr int kRuns = 101;
constexpr int kWarmUpRuns = 5;

// What the service streams before its result: the five partial fields in
// turn, with texts of the length the panel shows, some of them Chinese.
QByteArray fieldEvents()
{
    static const char *const kFields[] = {"tone_label", "summary", "hidden_meaning", "risk_level",
                                          "risk_reason"};
    QByteArray stream;
    for (int i = 0; i < kEvents; ++i) {
        const QByteArray value =
            i % 3 == 0
                ? QByteArray("对方其实是在委婉地拒绝，但留了余地，可以轻松回应。第") + QByteArray::number(i)
                : QByteArray("They are politely declining but leave the door open; a light "
                             "reply keeps it friendly. #") +
                      QByteArray::number(i);
        stream += "event: field\ndata: {\"field\":\"" + QByteArray(kFields[i % 5]) + "\",\"value\":\"" +
                  value + "\"}\n\n";
    }
    return stream;
}

qsizetype lineCount(const QByteArray &bytes)
{
    return bytes.count('\n');
}

// The whole client path after arrival: split, recognise, trim, decode the
// field event, update the partial and run the handler with a copy of it.
double readerNanos(const QByteArray &bytes)
{
    protocol::StreamPartial shown;
    int calls = 0;
    const api::PartialHandler onPartial = [&](const protocol::StreamPartial &p) {
        shown = p;
        ++calls;
    };
    QElapsedTimer clock;
    clock.start();
    protocol::StreamReader reader;
    reader.append(bytes);
    for (;;) {
        protocol::StreamReader::Step step = reader.next();
        const auto *partial = std::get_if<protocol::StreamReader::Partial>(&step);
        if (!partial)
            break;
        onPartial(partial->partial);
    }
    const double nanos = double(clock.nsecsElapsed());
    if (calls != kEvents) {
        std::fprintf(stderr, "stream: %d partials instead of %d\n", calls, kEvents);
        std::exit(1);
    }
    return nanos;
}

double splitNanos(const QByteArray &bytes)
{
    qsizetype lines = 0;
    QElapsedTimer clock;
    clock.start();
    protocol::LineSplitter splitter;
    splitter.append(bytes);
    while (splitter.next())
        ++lines;
    const double nanos = double(clock.nsecsElapsed());
    if (lines != lineCount(bytes)) {
        std::fprintf(stderr, "stream: %lld lines instead of %lld\n", qlonglong(lines),
                     qlonglong(lineCount(bytes)));
        std::exit(1);
    }
    return nanos;
}

} // namespace

int runStreamBench(int, char **)
{
    const QByteArray bytes = fieldEvents();
    const double lines = double(lineCount(bytes));
    QList<double> ours;
    QList<double> reference;
    // Interleaved, so that both see the same machine; the first runs warm
    // the caches and are dropped.
    const int warmUps = smokeRun() ? 0 : kWarmUpRuns;
    for (int run = -warmUps, runs = runsOf(kRuns); run < runs; ++run) {
        const double o = readerNanos(bytes) / lines;
        const double r = splitNanos(bytes) / lines;
        if (run >= 0) {
            ours.append(o);
            reference.append(r);
        }
    }
    report("stream", median(ours), median(reference), "ns");
    return 0;
}
