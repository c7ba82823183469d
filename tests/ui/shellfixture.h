#pragma once

// The main window over a designer with a recording Ui, shown offscreen.

#include <gtest/gtest.h>

#include <QTest>

#include "app/mainwindowlogic.h"
#include "support/fakeui.h"
#include "ui/mainwindow.h"

// The designer and its main window over a recording Ui, not yet shown.
struct DesignerWindow {
  FakeUi ui;
  MainWindowLogic designer{ui};
  MainWindow window{designer};
};

struct ShownMainWindow : ::testing::Test, DesignerWindow {
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
};
