// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>

// `tavolen-bench STAGE --smoke`: the stage once, with the smallest counts
// and waits that still go through its real code paths. Its figures mean
// nothing; the run shows that the stage still works.
bool smokeRun();
// `full` in a real run, 1 in a smoke run.
int runsOf(int full);
// The exit code of a stage that cannot run on this machine (a desktop it
// needs is not installed), as opposed to one that failed.
constexpr int kStageSkipped = 77;

// A private Xvfb for a benchmark, on a display number it picks itself; it
// dies with this process, whatever ends it.
class BenchXvfb {
public:
    static std::unique_ptr<BenchXvfb> start(QSize size);
    // Starts one and makes it this process's display for Qt (before the
    // QApplication); null, after saying so for `stage`, when it cannot.
    static std::unique_ptr<BenchXvfb> startForThisProcess(QSize size, const char *stage);
    ~BenchXvfb();
    QString display() const { return m_display; }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QString m_display;
};

// Fills the current display with a full-screen window of real content: a
// photo-like generated image on one side, paragraphs of rendered text on the
// other. Returns once it is on screen. Needs the QApplication.
void showBenchContent();

// A line "Name:   N kB" of process `pid`'s /proc status (`name` with its
// colon), in MB; 0 when it cannot be read.
double statusMB(qint64 pid, const char *name);
// This process's resident memory in MB (0 when it cannot be read).
double residentMB();
// Milliseconds as "12.3ms".
QString ms(double value);
// The median of the values (0 for none).
double median(QList<double> values);
// One "STAGE: ours=… reference=… ratio=…" line on stdout.
void report(const char *stage, double ours, double reference, const char *unit);
