#include "api/LineSplitter.h"

#include <QList>

#include <gtest/gtest.h>

using tavolen::api::LineSplitter;

namespace {

QList<QByteArray> drain(LineSplitter &splitter)
{
    QList<QByteArray> lines;
    while (auto line = splitter.next())
        lines.append(*line);
    return lines;
}

// Feeds `bytes` in pieces of `step` bytes, taking lines after every piece,
// then closes.
QList<QByteArray> splitInPieces(const QByteArray &bytes, qsizetype step)
{
    LineSplitter splitter;
    QList<QByteArray> lines;
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        splitter.append(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)));
        lines += drain(splitter);
    }
    splitter.close();
    return lines + drain(splitter);
}

TEST(LineSplitter, EveryTerminatorEndsOneLineWhateverTheArrivalPieces)
{
    const QByteArray bytes = "a\nb\rc\r\nd\r\re\n\nf";
    const QList<QByteArray> expected = {"a", "b", "c", "d", "", "e", "", "f"};
    for (qsizetype step = 1; step <= bytes.size(); ++step)
        EXPECT_EQ(splitInPieces(bytes, step), expected) << "pieces of " << step;
}

TEST(LineSplitter, CrLfSplitAcrossArrivalsIsOneTerminator)
{
    LineSplitter splitter;
    splitter.append("first\r");
    EXPECT_EQ(splitter.next(), QByteArray("first")) << "a CR ends its line at once";
    EXPECT_EQ(splitter.next(), std::nullopt);
    splitter.append("\nsecond\n");
    EXPECT_EQ(drain(splitter), QList<QByteArray>{"second"});
}

TEST(LineSplitter, UnterminatedRestWaitsForMoreBytesOrTheEnd)
{
    LineSplitter splitter;
    splitter.append("par");
    EXPECT_EQ(splitter.next(), std::nullopt);
    splitter.append("tial");
    EXPECT_EQ(splitter.next(), std::nullopt);
    splitter.close();
    EXPECT_EQ(splitter.next(), QByteArray("partial"));
    EXPECT_EQ(splitter.next(), std::nullopt);

    LineSplitter endsClean;
    endsClean.append("done\r\n");
    endsClean.close();
    EXPECT_EQ(drain(endsClean), QList<QByteArray>{"done"}) << "no empty line after a final terminator";
}

TEST(LineSplitter, LineLongerThanTheLimitOverflowsWithoutItsTerminator)
{
    LineSplitter splitter(8);
    splitter.append("12345678\n");
    EXPECT_EQ(splitter.next(), QByteArray("12345678")) << "exactly the limit is fine";
    splitter.append("123456789");
    EXPECT_EQ(splitter.next(), std::nullopt);
    EXPECT_TRUE(splitter.overflowed()) << "noticed before any terminator arrives";
    splitter.append("\nshort\n");
    EXPECT_EQ(splitter.next(), std::nullopt) << "nothing more after an overflow";

    LineSplitter whole(8);
    whole.append("ok\n123456789\nlater\n");
    EXPECT_EQ(whole.next(), QByteArray("ok"));
    EXPECT_EQ(whole.next(), std::nullopt);
    EXPECT_TRUE(whole.overflowed()) << "also when the long line arrives complete";
}

TEST(LineSplitter, LongLineInManySmallPiecesIsNotRescannedEachTime)
{
    // A megabyte in 16-byte pieces: rescanning from the line start on every
    // piece would take minutes.
    LineSplitter splitter;
    const QByteArray piece(16, 'x');
    for (int i = 0; i < 65536 - 1; ++i) {
        splitter.append(piece);
        ASSERT_EQ(splitter.next(), std::nullopt);
    }
    splitter.append("\n");
    const auto line = splitter.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), (65536 - 1) * 16);
}

} // namespace
