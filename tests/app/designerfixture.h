#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/mainwindowlogic.h"
#include "app/startup.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "support/fakeui.h"

// A designer started in an empty temporary folder (its panels folder
// created), answering through a scripted Ui.
struct DesignerFixture : ::testing::Test {
  QTemporaryDir dir;
  FakeUi ui;
  std::unique_ptr<MainWindowLogic> designer;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    programSettings() = ProgramSettings();
    initSettings(programSettings(), dir.path());
    designer = std::make_unique<MainWindowLogic>(ui);
    designer->load();
  }
  QString panelsFolder() const { return programSettings().panelsFolder; }
  // A file in the panels folder.
  QString path(const QString &name) const { return panelsFolder() + name; }
  void write(const QString &name, const QString &text) {
    QString error;
    ASSERT_TRUE(writeTextFileSafely(path(name), text, &error)) << error.toStdString();
  }
};
