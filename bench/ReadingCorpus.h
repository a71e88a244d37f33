// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavolen::test {

// One labelled post of tests/data/readings/corpus.json: what is drawn, and
// how a careful reader reads it.
struct CorpusPost {
    QString id;
    // The interface drawn around the text: social, dm, wechat, whatsapp,
    // telegram, email or sms.
    QString app;
    QString from;
    QString handle;
    QString title;
    QStringList text;
    bool dark = false;
    QString lang;
    QString risk;
    QString kind;
    QString tone;
    bool toReader = false;
    QString start;
};

// Where the corpus and its pictures live in the source tree.
QString readingCorpusDir();
// Empty when the file cannot be read.
QList<CorpusPost> loadReadingCorpus(const QString &dir = readingCorpusDir());

// The interface's own lines around the post's text, in drawing order before
// (`above`) or after it: the renderer draws them, the scoring looks for them
// in summaries.
struct InterfaceText {
    QStringList above;
    QStringList below;
};
InterfaceText interfaceTextOf(const CorpusPost &post);

// What the service made of one post.
struct PostReading {
    QString risk;
    QString tone;
    QString language;
    QString summary;
    double ms = 0;
};

// The service's tone word as one of the labels' classes.
QString toneClass(const QString &tone);
// Whether `summary` repeats a line of the interface around the post.
bool carriesInterfaceText(const CorpusPost &post, const QString &summary);

struct CorpusScore {
    int highLabelled = 0;
    int highFound = 0;
    int highRated = 0;
    int benign = 0;
    int benignRatedHigh = 0;
    int sarcasticAsFriendly = 0;
    double highPrecision() const { return highRated ? double(highFound) / highRated : 1.0; }
    double highRecall() const { return highLabelled ? double(highFound) / highLabelled : 1.0; }
    double falseHigh() const { return benign ? double(benignRatedHigh) / benign : 0.0; }
    double toneAccuracy = 0;
    double languageAccuracy = 0;
    double cleanSummaries = 0;
    // The table, per class and in all, as printed.
    QString table;
};

// `readings` in the order of `posts`.
CorpusScore scoreReadings(const QList<CorpusPost> &posts, const QList<PostReading> &readings);

} // namespace tavolen::test
