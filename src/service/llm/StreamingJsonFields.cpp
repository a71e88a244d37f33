#include "service/llm/StreamingJsonFields.h"

#include "api/StreamReader.h"
#include "service/llm/ModelReading.h"

#include <utility>

namespace tavolen::service::llm {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isHighSurrogate(char32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool isLowSurrogate(char32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

StreamingJsonFields::StreamingJsonFields(FieldSink sink) : m_sink(std::move(sink))
{}

void StreamingJsonFields::feed(std::string_view piece)
{
    for (const char c : piece) {
        if (m_phase == Phase::Done)
            return;
        m_text.push_back(c);
        step(c);
    }
}

std::string_view StreamingJsonFields::objectText() const
{
    if (m_phase == Phase::Preamble || m_phase == Phase::Candidate)
        return {};
    const std::size_t end = m_phase == Phase::Done ? m_objectEnd : m_text.size();
    return std::string_view(m_text).substr(m_objectBegin, end - m_objectBegin);
}

void StreamingJsonFields::step(char c)
{
    if (m_phase == Phase::Preamble)
        preambleStep(c);
    else if (m_phase == Phase::Candidate)
        candidateStep(c);
    else if (m_inString)
        stringStep(c);
    else
        structureStep(c);
}

void StreamingJsonFields::preambleStep(char c)
{
    // A reasoning model may think aloud first, braces included. Followed a
    // character at a time: searching the whole text at every brace would
    // cost the square of a long preamble.
    if (c == '>') {
        const std::string_view text(m_text);
        if (text.ends_with("<think>"))
            m_thinking = true;
        else if (text.ends_with("</think>"))
            m_thinking = false;
    }
    if (c != '{' || m_thinking)
        return;
    m_phase = Phase::Candidate;
    m_objectBegin = m_text.size() - 1;
}

void StreamingJsonFields::candidateStep(char c)
{
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
        return;
    // An object of ours opens with a member name or closes at once; a brace
    // in prose ("{as asked}") does neither.
    if (c != '"' && c != '}') {
        m_phase = Phase::Preamble;
        preambleStep(c);
        return;
    }
    m_phase = Phase::Object;
    m_depth = 1;
    m_expectKey = true;
    structureStep(c);
}

void StreamingJsonFields::structureStep(char c)
{
    switch (c) {
    case '"':
        m_inString = true;
        m_escape = Escape::None;
        m_decoded.clear();
        m_stringValid = true;
        m_stringIsKey = m_depth == 1 && m_expectKey;
        break;
    case '{':
    case '[':
        ++m_depth;
        break;
    case '}':
    case ']':
        if (--m_depth == 0) {
            m_phase = Phase::Done;
            m_objectEnd = m_text.size();
        }
        break;
    case ',':
        if (m_depth == 1)
            m_expectKey = true;
        break;
    case ':':
        if (m_depth == 1)
            m_expectKey = false;
        break;
    default:
        break;
    }
}

void StreamingJsonFields::stringStep(char c)
{
    switch (m_escape) {
    case Escape::None:
        if (c == '"') {
            m_inString = false;
            stringClosed();
        } else if (c == '\\') {
            m_escape = Escape::Backslash;
        } else {
            // Raw control characters are not allowed inside JSON strings.
            if (static_cast<unsigned char>(c) < 0x20)
                m_stringValid = false;
            m_decoded.push_back(c);
        }
        return;
    case Escape::Backslash: {
        m_escape = Escape::None;
        static constexpr std::string_view from = "\"\\/bfnrt";
        static constexpr std::string_view to = "\"\\/\b\f\n\r\t";
        if (c == 'u') {
            m_escape = Escape::Hex;
            m_hexDigits = 0;
            m_hexValue = 0;
        } else if (const auto at = from.find(c); at != std::string_view::npos) {
            m_decoded.push_back(to[at]);
        } else {
            m_stringValid = false;
        }
        return;
    }
    case Escape::Hex:
        appendHex(c, Escape::Hex);
        return;
    case Escape::PairBackslash:
        // A high surrogate must be followed at once by an escaped low one.
        if (c == '\\') {
            m_escape = Escape::PairU;
            return;
        }
        m_stringValid = false;
        m_escape = Escape::None;
        stringStep(c);
        return;
    case Escape::PairU:
        if (c == 'u') {
            m_escape = Escape::PairHex;
            m_hexDigits = 0;
            m_hexValue = 0;
            return;
        }
        m_stringValid = false;
        m_escape = Escape::Backslash;
        stringStep(c);
        return;
    case Escape::PairHex:
        appendHex(c, Escape::PairHex);
        return;
    }
}

void StreamingJsonFields::appendHex(char c, Escape state)
{
    const int digit = hexValue(c);
    if (digit < 0) {
        m_stringValid = false;
        m_escape = Escape::None;
        stringStep(c);
        return;
    }
    m_hexValue = m_hexValue * 16 + char32_t(digit);
    if (++m_hexDigits < 4)
        return;
    m_escape = Escape::None;
    const char32_t unit = m_hexValue;
    if (state == Escape::PairHex) {
        if (isLowSurrogate(unit))
            appendCodePoint(0x10000 + ((m_highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
        else
            m_stringValid = false;
    } else if (isHighSurrogate(unit)) {
        m_highSurrogate = unit;
        m_escape = Escape::PairBackslash;
    } else if (isLowSurrogate(unit)) {
        m_stringValid = false;
    } else {
        appendCodePoint(unit);
    }
}

void StreamingJsonFields::appendCodePoint(char32_t cp)
{
    if (cp < 0x80) {
        m_decoded.push_back(char(cp));
    } else if (cp < 0x800) {
        m_decoded.push_back(char(0xC0 | (cp >> 6)));
        m_decoded.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        m_decoded.push_back(char(0xE0 | (cp >> 12)));
        m_decoded.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        m_decoded.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        m_decoded.push_back(char(0xF0 | (cp >> 18)));
        m_decoded.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        m_decoded.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        m_decoded.push_back(char(0x80 | (cp & 0x3F)));
    }
}

void StreamingJsonFields::stringClosed()
{
    if (m_depth != 1)
        return;
    if (m_stringIsKey) {
        m_key = m_decoded;
        return;
    }
    const std::string key = std::exchange(m_key, {});
    if (!m_stringValid || !api::isPartialField(QString::fromStdString(key)) || m_reported.count(key))
        return;
    QString value = QString::fromUtf8(m_decoded.data(), qsizetype(m_decoded.size()));
    if (key == "risk_level") {
        // Reported only in the form the finished reading will carry.
        const std::optional<QString> level = normalizedRiskLevel(value);
        if (!level)
            return;
        value = *level;
    }
    m_reported.insert(key);
    if (m_sink)
        m_sink(api::FieldEvent{QString::fromStdString(key), value});
}

} // namespace tavolen::service::llm
