#pragma once

#include <QString>
#include <QtGlobal>

// Rounds to the nearest integer; a value exactly halfway goes to the even one.
qint32 roundHalfEven(double value);

// The nearest multiple of `step`, halves to the multiple with the even quotient.
qint32 snapToGrid(qint32 value, qint32 step);

// True when the user's number format shows 1.1 with a decimal comma.
bool checkUseComma();

// Reads a number built as text with "." (or ",") as separator, whatever the
// user's number format. Unreadable text gives 0.
double convertStringNumToInternat(const QString &text);

// The number at the start of a text: leading blanks, optional sign, digits,
// optional "." and digits; anything after is ignored; no number gives 0.
double leadingNumber(const QString &text);
double leadingNumber(QStringView text);

// Decimal text of a single-precision value as the files hold it ("8.25", "9600").
QString floatToText(float value);

// A number in the C locale's form (QLocale::c().toDouble of the trimmed
// text); false when the text is not one. Plain decimals, the form files hold,
// are read without the locale's machinery.
bool readDecimal(QStringView text, double *out);

// Strict integer reads used for numeric fields; false when the text is not a
// whole number in range.
bool readInt32(const QString &text, qint32 *out);
bool readInt16(const QString &text, qint16 *out);
bool readFloat(const QString &text, float *out);
bool readFloat(QStringView text, float *out);
// A TCP port as a person types it or the remembered connection holds it: a
// whole number from 1 to 65535. With `allowFraction` a decimal fraction is
// rounded (halves to even) first. False for anything else.
bool readPort(const QString &text, quint16 *out, bool allowFraction = false);
// "True"/"False" in any letter case, or a number (0 is false, any other true).
bool readBool(const QString &text, bool *out);
bool readBool(QStringView text, bool *out);
// "True" or "False", as panel files store a flag.
QString trueFalseText(bool value);
