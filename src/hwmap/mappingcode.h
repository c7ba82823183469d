#pragma once

#include <QString>

// Mapping codes name the hardware control a panel control is bound to:
//   "Port" <port> "_Circuit" <circuit>   a GPIO circuit     (Port3_Circuit12)
//   "MOD_" <module> ".BUT#" <key>        a user-panel key   (MOD_USER#3.BUT#12)
//   "MOD_" <module> "." <name>           a module element   (MOD_USER#3.DISP)
// with <module> "USER#n" or "ACCESS#n". Any letter case is accepted.
//
// Both decoders trim the code they are given (the caller's text becomes the
// trimmed form) and return an empty text for a code they do not recognise.

// The module part ("USER#3"), or for a GPIO code the port number ("3").
QString hwModuleNumber(QString &code);
inline QString hwModuleNumber(const QString &code) {
  QString copy = code;
  return hwModuleNumber(copy);
}

// The key number ("12") or "DISP", or for a GPIO code the circuit number.
QString hwPortNumber(QString &code);
inline QString hwPortNumber(const QString &code) {
  QString copy = code;
  return hwPortNumber(copy);
}
