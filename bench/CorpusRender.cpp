// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench render-corpus [DIR]: draws every post of the labelled reading
// corpus as the application it names would show it (title bar, byline,
// bubbles or mail headers, toolbar), light or dark, and writes DIR/<id>.png
// (default: the corpus's own folder). The pictures are grey with 16 shades:
// small to keep in the repository, and as legible to text recognition as the
// screen was.

#include "CorpusRender.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace tavolen;

namespace {

constexpr int kWidth = 1000;
constexpr int kMargin = 40;

struct Palette {
    QColor page, text, muted, bubble, bar;
};

Palette paletteOf(bool dark)
{
    if (dark)
        return {QColor(21, 32, 43), QColor(231, 233, 234), QColor(139, 152, 165), QColor(44, 58, 72),
                QColor(32, 44, 56)};
    return {Qt::white, QColor(15, 20, 25), QColor(83, 100, 113), QColor(233, 236, 239),
            QColor(246, 247, 248)};
}

QFont fontOf(int pixels, bool bold = false)
{
    // Chinese, Japanese and Korean fall back to the CJK font Qt finds.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Chats put the message in a bubble; posts, mail and the rest on the page.
bool inBubbles(const test::CorpusPost &post)
{
    static const QStringList chats = {QStringLiteral("wechat"), QStringLiteral("whatsapp"),
                                      QStringLiteral("telegram"), QStringLiteral("sms"),
                                      QStringLiteral("dm")};
    return chats.contains(post.app);
}

// Draws the post from `y` on; returns where the next thing goes.
int drawBody(QPainter &p, const test::CorpusPost &post, const Palette &c, int y)
{
    p.setFont(fontOf(30));
    const int bubbleWidth = kWidth * 3 / 4;
    for (const QString &paragraph : post.text) {
        if (inBubbles(post)) {
            const QRect text = p.boundingRect(QRect(kMargin + 24, y + 16, bubbleWidth - 48, 2000),
                                              Qt::TextWordWrap, paragraph);
            p.setPen(Qt::NoPen);
            p.setBrush(c.bubble);
            p.drawRoundedRect(text.adjusted(-24, -16, 24, 16), 18, 18);
            p.setPen(c.text);
            p.drawText(text, Qt::TextWordWrap, paragraph);
            y = text.bottom() + 40;
        } else {
            p.setPen(c.text);
            const QRect box =
                p.boundingRect(QRect(kMargin, y, kWidth - 2 * kMargin, 2000), Qt::TextWordWrap, paragraph);
            p.drawText(box, Qt::TextWordWrap, paragraph);
            y = box.bottom() + 24;
        }
    }
    return y;
}

} // namespace

QImage renderCorpusPost(const test::CorpusPost &post)
{
    const Palette c = paletteOf(post.dark);
    const test::InterfaceText ui = test::interfaceTextOf(post);
    QImage image(kWidth, 1400, QImage::Format_RGB32);
    image.fill(c.page);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The title bar: the app's own first line, then who wrote it.
    p.fillRect(QRect(0, 0, kWidth, 70), c.bar);
    p.setPen(c.muted);
    p.setFont(fontOf(26, true));
    p.drawText(QRect(kMargin, 0, kWidth - 2 * kMargin, 70), Qt::AlignVCenter, ui.above.value(0));
    int y = 100;
    for (qsizetype i = 1; i < ui.above.size(); ++i) {
        if (ui.above[i].isEmpty())
            continue;
        const bool name = i == 1;
        p.setPen(name ? c.text : c.muted);
        p.setFont(fontOf(name ? 28 : 24, name));
        p.drawText(QPoint(kMargin, y + 24), ui.above[i]);
        y += name ? 46 : 40;
    }
    y = drawBody(p, post, c, y + 20);

    // The toolbar or the message field under it.
    p.setPen(c.muted);
    p.setFont(fontOf(24));
    for (const QString &line : ui.below) {
        p.drawText(QPoint(kMargin, y + 30), line);
        y += 44;
    }
    p.end();
    // Sixteen shades of grey, compressed hard, keep the file a few dozen kB.
    QList<QRgb> greys;
    for (int g = 0; g < 16; ++g)
        greys << qRgb(g * 17, g * 17, g * 17);
    return image.copy(0, 0, kWidth, y + 30)
        .convertToFormat(QImage::Format_Grayscale8)
        .convertToFormat(QImage::Format_Indexed8, greys, Qt::ThresholdDither);
}

int runRenderCorpus(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : test::readingCorpusDir();
    const QList<test::CorpusPost> posts = test::loadReadingCorpus();
    if (posts.isEmpty() || !QDir().mkpath(dir)) {
        std::fprintf(stderr, "tavolen-bench render-corpus: no posts in %s, or %s cannot be written\n",
                     qPrintable(test::readingCorpusDir()), qPrintable(dir));
        return 1;
    }
    for (const test::CorpusPost &post : posts) {
        const QString file = QDir(dir).filePath(post.id + QStringLiteral(".png"));
        if (!renderCorpusPost(post).save(file, "PNG", 0)) {
            std::fprintf(stderr, "tavolen-bench render-corpus: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    std::printf("render-corpus: %lld posts in %s\n", static_cast<long long>(posts.size()), qPrintable(dir));
    return 0;
}
