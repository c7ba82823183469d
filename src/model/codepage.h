#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Windows-1252, the single-byte code page of panel files and the hardware map.
// Bytes without a character (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the
// C1 control of the same number so that they survive a read and a write;
// characters the code page cannot hold are written as "?".
QString decodeWindows1252(QByteArrayView bytes);
QByteArray encodeWindows1252(const QString &text);
// One character as its byte ("?" when the code page lacks it).
char encodeWindows1252Char(char16_t c);
// The characters of the text the code page cannot hold, each once, in order
// (empty when it holds them all): names are refused with them, since "?"
// would make different names equal.
QString charactersOutsideWindows1252(const QString &text);
