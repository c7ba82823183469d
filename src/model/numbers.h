#pragma once

#include <QString>
#include <QtGlobal>

// Rounds to the nearest integer; a value exactly halfway goes to the even one.
qint32 RoundHalfEven(double value);

// The nearest multiple of `step`, halves to the multiple with the even quotient.
qint32 SnapToGrid(qint32 value, qint32 step);

// True when the user's number format shows 1.1 with a decimal comma.
bool CheckUseComma();

// Reads a number built as text with "." (or ",") as separator, whatever the
// user's number format. Unreadable text gives 0.
double ConvertStringNumToInternat(const QString &text);

// The number at the start of a text: leading blanks, optional sign, digits,
// optional "." and digits; anything after is ignored; no number gives 0.
double LeadingNumber(const QString &text);
double LeadingNumber(QStringView text);

// Decimal text of a single-precision value as the files hold it ("8.25", "9600").
QString FloatToText(float value);

// A number in the C locale's form (QLocale::c().toDouble of the trimmed
// text); false when the text is not one. Plain decimals, the form files hold,
// are read without the locale's machinery.
bool ReadDecimal(QStringView text, double *out);

// Strict integer reads used for numeric fields; false when the text is not a
// whole number in range.
bool ReadInt32(const QString &text, qint32 *out);
bool ReadInt16(const QString &text, qint16 *out);
bool ReadFloat(const QString &text, float *out);
bool ReadFloat(QStringView text, float *out);
// A TCP port as a person types it or the remembered connection holds it: a
// whole number from 1 to 65535. With `allowFraction` a decimal fraction is
// rounded (halves to even) first. False for anything else.
bool ReadPort(const QString &text, quint16 *out, bool allowFraction = false);
// "True"/"False" in any letter case, or a number (0 is false, any other true).
bool ReadBool(const QString &text, bool *out);
bool ReadBool(QStringView text, bool *out);
