// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/OtherScripts.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace tavolen::service {

namespace {

// A reading this sure is the script's own; below it, a guess.
constexpr int kSure = 60;
constexpr float kMinLineConfidence = 45.0f;

// Cyrillic read as Latin: case changing inside a word, digits for letters.
bool looksGarbled(const QString &line)
{
    // A brand in Chinese text ("iPhone") is no Cyrillic.
    for (const QChar c : line)
        if (c.unicode() >= 0x2E80)
            return false;
    static const QRegularExpression word(QStringLiteral("\\S{3,}"));
    static const QRegularExpression odd(QStringLiteral("[a-z][A-Z]|[A-Za-z]\\d[A-Za-z]|^\\d[A-Za-z]+$"));
    int words = 0, garbled = 0;
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const QString w = it.next().captured();
        ++words;
        garbled += w.contains(odd) ? 1 : 0;
    }
    return garbled >= 1 && garbled * 3 >= words;
}

// Worth a second reading: an unsure line as wide as text, or a garbled one.
bool suspect(const ReadLine &line)
{
    return line.kept ? looksGarbled(line.text) : line.bottom - line.top >= 12;
}

} // namespace

OtherScripts::OtherScripts(const QString &dataDir) : m_dataDir(dataDir.toLocal8Bit())
{
    QString dir = dataDir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    for (const char *language : {"jpn", "kor", "rus"})
        if (QFile::exists(dir + QLatin1String(language) + QStringLiteral(".traineddata")))
            m_scripts.push_back({QByteArray(language), nullptr, false});
}

OtherScripts::~OtherScripts()
{
    for (Script &s : m_scripts)
        if (s.api)
            s.api->End();
}

void OtherScripts::rescue(QList<ReadLine> &lines, Pix *page, const std::function<bool()> &stop)
{
    qsizetype first = -1, last = -1, count = 0;
    bool garbled = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!suspect(lines[i]))
            continue;
        first = first < 0 ? i : first;
        last = i;
        ++count;
        garbled = garbled || lines[i].kept;
    }
    // One unsure line is an icon or a rule; text comes in more.
    if (count < 2 && !garbled)
        return;
    const int top = std::max(0, lines[first].top - 6);
    const int bottom = std::min<int>(pixGetHeight(page), lines[last].bottom + 6);
    Box *box = boxCreate(0, top, pixGetWidth(page), bottom - top);
    Pix *crop = pixClipRectangle(page, box, nullptr);
    boxDestroy(&box);
    if (!crop)
        return;

    // One page at a time reads again: it is rare, and each script's
    // recogniser is loaded once.
    const std::lock_guard lock(m_mutex);
    int bestConfidence = kSure - 1;
    QList<ReadLine> best;
    for (Script &s : m_scripts) {
        // Latin look-alikes are Cyrillic; unsure lines are rather kana or hangul.
        if (stop() || s.unusable || (garbled && s.language != "rus"))
            continue;
        if (!s.api) {
            s.api = std::make_unique<tesseract::TessBaseAPI>();
            if (s.api->Init(m_dataDir.isEmpty() ? nullptr : m_dataDir.constData(), s.language.constData(),
                            tesseract::OEM_LSTM_ONLY) != 0) {
                s.unusable = true;
                continue;
            }
            s.api->SetVariable("debug_file", "/dev/null");
            s.api->SetPageSegMode(tesseract::PSM_AUTO);
        }
        s.api->SetImage(crop);
        s.api->SetSourceResolution(96);
        QList<ReadLine> read;
        if (s.api->Recognize(nullptr) == 0) {
            const int confidence = s.api->MeanTextConf();
            std::unique_ptr<tesseract::ResultIterator> it(s.api->GetIterator());
            if (it && confidence > bestConfidence) {
                do {
                    int l = 0, t = 0, r = 0, b = 0;
                    it->BoundingBox(tesseract::RIL_TEXTLINE, &l, &t, &r, &b);
                    const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
                    if (text && it->Confidence(tesseract::RIL_TEXTLINE) >= kMinLineConfidence)
                        read << ReadLine{QString::fromUtf8(text.get()).trimmed(), top + t, top + b, true};
                } while (it->Next(tesseract::RIL_TEXTLINE));
                if (!read.isEmpty()) {
                    bestConfidence = confidence;
                    best = read;
                }
            }
        }
        s.api->Clear();
        // Sure enough: the other scripts would read it worse and cost as much.
        if (bestConfidence >= 75)
            break;
    }
    pixDestroy(&crop);
    if (best.isEmpty())
        return;
    lines.remove(first, last - first + 1);
    for (qsizetype i = 0; i < best.size(); ++i)
        lines.insert(first + i, best[i]);
}

} // namespace tavolen::service
