#pragma once

#include <QString>

// Replaces each character not allowed in control and panel names by "_".
QString CleanName(const QString &text);

// The successor of a name, caption or mapping text for incremental edits:
// "Mic 9" -> "Mic 10", "Btn007" -> "Btn8", "A" -> "A1", "" -> "1".
// A digit run whose successor does not fit a 32-bit integer gives an empty
// text ("X2147483647" -> "").
QString GetNextIncrementalName(const QString &text);
