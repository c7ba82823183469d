#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/mdiformdesigner.h"
#include "app/startup.h"
#include "model/settings.h"
#include "support/fakeui.h"

// A designer started in an empty temporary folder (its panels folder
// created), answering through a scripted Ui.
struct DesignerFixture : ::testing::Test {
  QTemporaryDir dir;
  FakeUi ui;
  std::unique_ptr<MDIFormDesigner> designer;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    Settings() = ProgramSettings();
    InitSettings(Settings(), dir.path());
    designer = std::make_unique<MDIFormDesigner>(ui);
    designer->Load();
  }
  QString panelsFolder() const { return Settings().strPanelsFolder; }
};
