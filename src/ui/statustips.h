#pragma once

#include <QString>

// The status bar text of the menu entry with this object name: what the
// entry does, in one line. A new menu entry adds its line in statustips.cpp.
QString statusTipOf(const QString &actionName);
