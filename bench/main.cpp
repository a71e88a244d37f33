// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench STAGE [options] [--smoke]: one subcommand per pipeline stage,
// each printing lines of the form "STAGE: ours=<v><unit> reference=<v><unit> ratio=<ours/reference>".

#include <cstdio>
#include <cstring>

int runCaptureBench(int argc, char **argv);
int runStreamBench(int argc, char **argv);
int runPanelBench(int argc, char **argv);
int runHotkeyBench(int argc, char **argv);
int runIdleBench(int argc, char **argv);
int runServiceBench(int argc, char **argv);
int runReadingBench(int argc, char **argv);
int runRenderCorpus(int argc, char **argv);

namespace {

bool g_smoke = false;

struct Stage {
    const char *name;
    int (*run)(int argc, char **argv);
    const char *about;
};

// Add a stage here; its function gets the arguments after the stage's name.
constexpr Stage kStages[] = {
    {"capture", runCaptureBench,
     "selection known -> JPEG bytes ready, beside maim (--wayland: through the portal on headless sway, "
     "beside grim)"},
    {"hotkey", runHotkeyBench, "Alt+Shift+S sent -> overlay on screen, beside mapping a plain window"},
    {"idle", runIdleBench, "memory at rest and start-up to tray icon, beside a minimal Qt tray program"},
    {"panel", runPanelBench,
     "panel shown -> frame painted (streaming update, full result), beside one 60 Hz frame"},
    {"service", runServiceBench,
     "upload -> first field and result from the local service, and 20 uploads at once, beside tesseract"},
    {"reading", runReadingBench,
     "the labelled corpus through the offline service: high-risk precision and recall, false highs, tone, "
     "language, clean summaries, time per post (--posts: each reading)"},
    {"render-corpus", runRenderCorpus, "draws the labelled corpus's posts into its PNGs (or into DIR)"},
    {"stream", runStreamBench, "streamed line arrived -> partial handler run, beside line splitting alone"},
};

int usage()
{
    std::fprintf(stderr, "usage: tavolen-bench STAGE [--smoke]\n");
    for (const Stage &s : kStages)
        std::fprintf(stderr, "  %-10s %s\n", s.name, s.about);
    std::fprintf(stderr,
                 "  --smoke    once, with the smallest counts: whether the stage runs, not how fast\n");
    return 2;
}

} // namespace

bool smokeRun()
{
    return g_smoke;
}

int runsOf(int full)
{
    return g_smoke ? 1 : full;
}

int main(int argc, char **argv)
{
    // Taken out wherever it stands, so that no stage has to skip it.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            g_smoke = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    if (argc < 2)
        return usage();
    for (const Stage &s : kStages) {
        if (std::strcmp(argv[1], s.name) == 0)
            return s.run(argc - 1, argv + 1);
    }
    return usage();
}
