// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct Pix;
namespace tesseract {
class TessBaseAPI;
}

namespace tavolen::service {

// One line as a recogniser read it, in page rows.
struct ReadLine {
    QString text;
    int top = 0;
    int bottom = 0;
    // Sure enough to keep; the rest is mostly icons and rules read as letters.
    bool kept = false;
};

// Lines in a script the page's recognisers do not know (Japanese kana,
// Korean, Cyrillic) come out unsure or as Latin look-alikes ("3aBTpa").
// Such lines are read again by the recognisers of those scripts that are
// installed, each loaded the first time it is needed; the surest reading
// replaces them. Pages in the usual scripts never pay for it.
class OtherScripts {
public:
    // `dataDir`: where the page's own models were found.
    explicit OtherScripts(const QString &dataDir);
    ~OtherScripts();

    bool any() const { return !m_scripts.empty(); }

    // Reads again the rows of `lines` that look like another script, on
    // `page` (as prepared for recognition); `stop` ends it early.
    void rescue(QList<ReadLine> &lines, Pix *page, const std::function<bool()> &stop);

private:
    struct Script {
        QByteArray language;
        std::unique_ptr<tesseract::TessBaseAPI> api;
        bool unusable = false;
    };
    std::mutex m_mutex;
    QByteArray m_dataDir;
    std::vector<Script> m_scripts;
};

} // namespace tavolen::service
