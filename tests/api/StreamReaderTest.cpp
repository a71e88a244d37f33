#include "api/StreamReader.h"
#include "api/Decoding.h"
#include "support/ServiceAnswers.h"

#include <QList>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::api;
using tavolen::test::envelopeJson;
using tavolen::test::fieldJson;

namespace {

// Everything the reader reports for `bytes` followed by the end of the body.
QList<StreamReader::Step> readAll(const QByteArray &bytes)
{
    StreamReader reader;
    reader.append(bytes);
    reader.endOfBody();
    QList<StreamReader::Step> steps;
    for (;;) {
        steps.append(reader.next());
        if (!std::holds_alternative<StreamReader::Partial>(steps.last()))
            return steps;
    }
}

QList<StreamPartial> partials(const QList<StreamReader::Step> &steps)
{
    QList<StreamPartial> out;
    for (const auto &step : steps)
        if (const auto *p = std::get_if<StreamReader::Partial>(&step))
            out.append(p->partial);
    return out;
}

StreamPartial withSummary(std::optional<QString> summary)
{
    StreamPartial p;
    p.summary = std::move(summary);
    return p;
}

const StreamReader::Step kDecode = StreamReader::Failed{APIClientError::decode()};

TEST(StreamReader, EventNameIsTrimmedOfTabsAndEveryUnicodeSpace)
{
    const QByteArray data = "data: " + fieldJson("summary", R"("S")") + "\n";
    for (const QByteArray &event :
         {QByteArray("event:field"), QByteArray("event: \t field \t"), QByteArray("event:\u00A0field\u3000"),
          QByteArray("event:\u2009field\u202F")}) {
        EXPECT_EQ(partials(readAll(event + "\n" + data)), QList<StreamPartial>{withSummary(u"S"_qs)})
            << event.toStdString();
    }
    EXPECT_TRUE(partials(readAll("event: fi eld\n" + data)).isEmpty()) << "inner spaces stay";
    EXPECT_TRUE(partials(readAll("event: Field\n" + data)).isEmpty()) << "names compare exactly";
}

TEST(StreamReader, DataPayloadIsTrimmedTooButOnlyRecognisedAtTheFirstCharacter)
{
    const QByteArray json = fieldJson("summary", R"("S")");
    EXPECT_EQ(partials(readAll("event: field\ndata:" + json + "\u3000\t\r\n")).size(), 1);
    EXPECT_TRUE(partials(readAll("event: field\n data: " + json + "\n")).isEmpty()) << "leading space";
    EXPECT_TRUE(partials(readAll(" event: field\ndata: " + json + "\n")).isEmpty());
    EXPECT_TRUE(partials(readAll("event: field\nDATA: " + json + "\n")).isEmpty()) << "case-sensitive";
    EXPECT_TRUE(partials(readAll("data: " + json + "\n")).isEmpty()) << "no event name yet";
}

TEST(StreamReader, EventNameHoldsAcrossBlankAndOtherLines)
{
    const QByteArray stream = "event: field\n\n: a comment\nid: 7\nretry: 10\n"
                              "data: " +
                              fieldJson("summary", R"("one")") +
                              "\n\n\n"
                              "data: " +
                              fieldJson("tone_label", R"("Dry")") + "\n";
    const QList<StreamPartial> got = partials(readAll(stream));
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[1].summary, u"one"_qs) << "the whole partial so far, not just the new field";
    EXPECT_EQ(got[1].tone_label, u"Dry"_qs);
}

TEST(StreamReader, FieldEventsReplaceClearOrAreIgnored)
{
    const QByteArray stream = "event: field\n"
                              "data: " +
                              fieldJson("summary", R"("first")") +
                              "\n"
                              "data: " +
                              fieldJson("summary", R"("second")") +
                              "\n"
                              "data: " +
                              fieldJson("best_reply", R"("not a partial field")") +
                              "\n"
                              "data: {\"field\": \"summary\", \"value\": \n"
                              "data: " +
                              fieldJson("risk_level", "42") +
                              "\n"
                              "data: " +
                              fieldJson("summary", "null") +
                              "\n"
                              "data: {\"field\":\"risk_reason\"}\n"
                              "data: " +
                              fieldJson("hidden_meaning", R"("")") + "\n";
    const QList<StreamPartial> got = partials(readAll(stream));
    ASSERT_EQ(got.size(), 5) << "unknown names, broken JSON and wrong types notify nobody";
    EXPECT_EQ(got[0].summary, u"first"_qs);
    EXPECT_EQ(got[1].summary, u"second"_qs);
    EXPECT_EQ(got[2].summary, std::nullopt) << "null clears";
    EXPECT_EQ(got[3].risk_reason, std::nullopt) << "a missing value clears and still notifies";
    EXPECT_EQ(got[4].hidden_meaning, u""_qs) << "an empty text is not absent";
}

TEST(StreamReader, DecodableResultEndsReadingEvenWithLinesAfterIt)
{
    StreamReader reader;
    reader.append("event: result\ndata: " + envelopeJson() +
                  "\nevent: field\ndata: " + fieldJson("summary", R"("late")") + "\n");
    const StreamReader::Step step = reader.next();
    ASSERT_TRUE(std::holds_alternative<StreamReader::Done>(step));
    EXPECT_EQ(std::get<StreamReader::Done>(step).envelope, *decodeAnalyzeEnvelope(envelopeJson()));
}

TEST(StreamReader, ResultThatDoesNotDecodeFailsAtItsFirstLine)
{
    const QByteArray json = envelopeJson();
    const QByteArray split = "event: result\ndata: " + json.left(30) + "\ndata: " + json.mid(30) + "\n";
    const auto steps = readAll(split);
    EXPECT_EQ(steps.size(), 1);
    EXPECT_EQ(steps.last(), kDecode);
}

TEST(StreamReader, WaitsForMoreUntilTheBodyEnds)
{
    StreamReader reader;
    reader.append("event: field\ndata: " + fieldJson("summary", R"("S")"));
    EXPECT_EQ(reader.next(), StreamReader::Step(StreamReader::NeedMore{})) << "the data line is not complete";
    reader.append("\n");
    EXPECT_TRUE(std::holds_alternative<StreamReader::Partial>(reader.next()));
    EXPECT_EQ(reader.next(), StreamReader::Step(StreamReader::NeedMore{}));
}

TEST(StreamReader, OverlongLineFailsWithDecodeWithoutWaitingForItsEnd)
{
    StreamReader reader(64);
    reader.append("event: field\ndata: " + QByteArray(100, 'x'));
    EXPECT_EQ(reader.next(), kDecode);
}

TEST(StreamReader, TrimLeavesMalformedUtf8AndInnerBytesAlone)
{
    EXPECT_EQ(trimSpaces("\t \u00A0a b\u3000 "), "a b");
    EXPECT_EQ(trimSpaces("\xC2"), "\xC2") << "a cut sequence is not a space";
    EXPECT_EQ(trimSpaces("\xC0\xA0x"), "\xC0\xA0x") << "an overlong space is not a space";
    EXPECT_EQ(trimSpaces("x\xE3\x80"), "x\xE3\x80");
    EXPECT_EQ(trimSpaces("\n x \r"), "\n x \r") << "line breaks are not trimmed";
    EXPECT_EQ(trimSpaces(" \u200B"), "\u200B") << "a zero-width space is a format character";
}

} // namespace
