#pragma once

#include <QByteArray>

namespace tavolen::test {

// Bodies the analysis service sends, for scripts.

// A complete, valid envelope. Its result has every optional member present
// except hidden_meaning (null) and full_translation (missing); `summary` is
// "S", `best_reply` is "B", `respondable` true.
QByteArray envelopeJson();
// The same envelope padded with an ignored member to `size` bytes (or
// the least it can be).
QByteArray paddedEnvelopeJson(qsizetype size);
// {"error": {"code": CODE, "message_zh": MESSAGE}}; no message_zh when empty.
QByteArray errorEnvelopeJson(const QByteArray &code, const QByteArray &message = {});
// {"field": FIELD, "value": VALUE} with VALUE as given (a JSON literal).
QByteArray fieldJson(const QByteArray &field, const QByteArray &valueLiteral);

} // namespace tavolen::test
