#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QString>

// Points the program's QSettings at a folder of the test, under an
// application name of its own, so that no test reads or writes the settings
// of the person running it.
inline void isolateSettings(const QString &folder, const QString &application) {
  QCoreApplication::setOrganizationName(QStringLiteral("TessaryTest"));
  QCoreApplication::setApplicationName(application);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}
