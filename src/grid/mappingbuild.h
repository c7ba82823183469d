#pragma once

#include <QString>
#include <optional>

#include "grid/gridrows.h"

// Building hardware mapping codes from what the grid's module and button
// rows hold. The codes are read back with hwModuleNumber and
// hwPortNumber (hwmap/mappingcode.h).

// True for the GPIO hardware type ("GPIOButton", any case).
bool isGpioMapType(const QString &type);
// The host port a hardware type implies: "93" for GPIO, "4010" otherwise.
QString defaultHostPort(const QString &type);

// Labels show the stored types "Button" and "GPIOButton" as "UserPanel Button"
// and "GPIO"; buttons show them as stored.
QString shownMapType(GridKind kind, const QString &stored);
QString storedMapType(GridKind kind, const QString &shown);

// A code from a module (GPIO: port) and a button (GPIO: circuit) text:
//   "MOD_USER#3.BUT#12", "MOD_USER#3.DISP", "Port2_Circuit5".
// A GPIO circuit that is not a number gives circuit 0. Empty when a numeric
// button number does not fit 16 bits.
std::optional<QString> buildMappingCode(const QString &type, const QString &module,
                                        const QString &button);

// The code with a new module (GPIO: port), keeping the button (circuit) part
// of `code`: a module code keeps its whole text after the first "."
// ("MOD_USER#1.DISP1" -> "MOD_USER#9.DISP1"). An empty code takes
// `fallbackButton` instead.
std::optional<QString> replaceMappingModule(const QString &type, const QString &code,
                                            const QString &module, const QString &fallbackButton);

// The code with a new button (GPIO: circuit), keeping the module (port) part
// of `code`; when `code` has no module part of that type, `fallbackModule` is
// used. Empty when neither gives a module.
std::optional<QString> replaceMappingButton(const QString &type, const QString &code,
                                            const QString &fallbackModule, const QString &button);
