#pragma once

// The main window over a designer with a recording Ui, shown offscreen.

#include <gtest/gtest.h>

#include <QTest>

#include "app/mainwindowlogic.h"
#include "support/fakeui.h"
#include "ui/mainwindow.h"

struct ShownMainWindow : ::testing::Test {
  FakeUi ui;
  MainWindowLogic designer{ui};
  MainWindow window{designer};
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
};
