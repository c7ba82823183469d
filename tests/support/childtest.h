#pragma once

// Runs one disabled test of this same test program in a child process, for
// tests that need a second designer or one to kill.

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// Starts the child running only `test`, with `variable` set to `value`, and
// waits until it prints "ready"; false (with what it printed in `out`) when
// it does not within a minute.
inline bool startChildTest(QProcess &child, const QString &test, const char *variable,
                           const QString &value, QByteArray *out) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(variable), value);
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_also_run_disabled_tests"),
               QStringLiteral("--gtest_filter=") + test});
  out->clear();
  while (!out->contains("ready\n") && child.waitForReadyRead(60000))
    *out += child.readAllStandardOutput();
  return out->contains("ready\n");
}
