#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// The reversible text encoding that hides the user name and the password of
// a login on the wire. An encoded text is one key character (code key + 60)
// followed by one character per source character, every one of codes 32 to
// 126; the key is drawn from 10 to 60 for each text.

// Draws a key from 10 to 60. Tests replace it to fix the key.
using LoginKeyGenerator = std::function<int()>;
int randomLoginKey();

// The encoded text, or "***Error***" when the key is not from 10 to 60.
// Characters are taken in Windows-1252; codes above 126 count as 126 and
// codes below 32 as 32.
QString passEncodeV2(const QString &text, const LoginKeyGenerator &key = randomLoginKey);

// One encoded character code; `add` is true at odd positions (1, 3, ...).
qint16 rollEncode(qint16 code, qint16 key, bool add);
// The inverse of rollEncode, for the receiving side.
qint16 rollDecode(qint16 code, qint16 key, bool add);

// The text passEncodeV2 encoded (with the blanks and "~" its clamping made);
// an empty text for an empty input.
QString passDecodeV2(const QString &encoded);
