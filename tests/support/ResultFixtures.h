#pragma once

#include <QByteArray>

namespace tavolen::test {

// A complete, valid "result" object as the service sends it.
QByteArray fullResultJson();
// A complete, valid envelope around fullResultJson().
QByteArray fullEnvelopeJson();

} // namespace tavolen::test
