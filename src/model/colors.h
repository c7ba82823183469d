#pragma once

#include <QString>
#include <QtGlobal>

// Colour values are 0x00BBGGRR; negative values are system colours and pass
// through unchanged. Records, the grid and files hold colour texts.

// Reads any accepted colour text ("&H00FFFF", "65535", "00FFFF", "yellow");
// unreadable text gives 0 (black).
qint32 colorValue(const QString &text);

// Trims the text and left-pads it with "0" to at least `length` characters.
QString padWithZeros(const QString &text, qint16 length);

// The canonical colour text of a value: "&H" + at least six upper-case hex digits.
QString colorValueToText(qint32 value);

// The normalised colour text the panel file writer uses.
QString formatColorText(const QString &text);

// True for a decimal number or "&H" followed by hex digits (the loose numeric
// test of colour texts); bare hex digits are not numeric.
bool isLooseNumeric(const QString &text, qint64 *value = nullptr);

// "&H" + text when that reads as hex, else the text itself: how stored colour
// texts without a prefix are taken.
QString hexPrefixedIfHex(const QString &text);
