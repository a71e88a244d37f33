// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tavolen::test {

// A whole reading as a model writes it: early fields first, then the rest,
// with an escaped quote, a line break and Chinese text on the way.
inline std::string modelReadingJson()
{
    return R"({
  "tone_label": "Friendly, curious",
  "summary": "Mara asks whether the \"new\" caf\u00e9 is open on Sundays.",
  "hidden_meaning": null,
  "risk_level": "low",
  "risk_reason": "An ordinary question between friends.",
  "platform": "x",
  "content_type": "comment",
  "detected_language": "en",
  "full_translation": "玛拉问那家新咖啡馆周日开不开门。",
  "tone": "warm",
  "intent": "asks for information",
  "recommended_action": "reply",
  "action_reason": "A quick answer helps her.",
  "auto_copy": true,
  "respondable": true,
  "reply_language": "en",
  "best_reply": "Yes, it opens at 9 on Sundays!\nSee you there?",
  "short_reply": "Yes, from 9.",
  "alternative_reply": "Not sure, I'll check and tell you.",
  "best_reply_label": "Helpful",
  "alternative_reply_label": "Honest",
  "best_reply_gloss": "Says it opens at nine and invites her.",
  "short_reply_gloss": "Says yes, from nine.",
  "alternative_reply_gloss": "Promises to find out.",
  "flags": {"no_text_detected": false, "sensitive_pii": false, "unsupported": false}
})";
}

} // namespace tavolen::test
