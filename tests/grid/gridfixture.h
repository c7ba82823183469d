#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "grid/propertygrid.h"
#include "model/settings.h"
#include "support/fakeui.h"
#include "surface/paneleditor.h"

// The scripted Ui, also keeping what each dialog was opened with.
class GridUi : public FakeUi {
 public:
  std::vector<qint32> colourDialogs;
  std::vector<FontSpec> fontDialogs;
  QStringList folderDialogs;  // "title|start folder"

  std::optional<qint32> chooseColor(qint32 initial) override {
    colourDialogs.push_back(initial);
    return FakeUi::chooseColor(initial);
  }
  std::optional<FontSpec> chooseFont(const FontSpec &initial) override {
    fontDialogs.push_back(initial);
    return FakeUi::chooseFont(initial);
  }
  std::optional<QString> chooseFolder(const QString &title, const QString &start) override {
    folderDialogs << title + u'|' + start;
    return FakeUi::chooseFolder(title, start);
  }
};

// A panel window named "Studio" with a property grid attached, and helpers to
// place controls, select them and edit cells the way the view does.
class GridTest : public ::testing::Test {
 public:
  GridTest() {
    programSettings() = ProgramSettings{};
    panel.model().canvas.tag = QStringLiteral("Studio");
    panel.setCaption(QStringLiteral("Studio"));
  }

  // A control placed through the Insert menu (or, for the meter-fader, which
  // has no menu entry, straight into the model) with its record and frame.
  template <class T>
  T *add(const QString &name, qint32 left = 0, qint32 top = 0) {
    DesignControl *control = panel.insertControl(T::Kind);
    if (!control) {
      control = panel.model().load<T>();
      auto record = std::make_unique<ControlRecord>();
      record->control = control;
      record->frameIndex = panel.model().newFrameIndex();
      panel.model().panelRecord.records.push_back(std::move(record));
    }
    control->tag = name;
    control->left = left;
    control->top = top;
    return static_cast<T *>(control);
  }

  ControlRecord &record(const DesignControl *control) {
    ControlRecord *r = panel.model().findRecord(control);
    EXPECT_NE(r, nullptr);
    return *r;
  }

  // Selects the controls in this order and shows the first in the grid.
  void select(std::initializer_list<DesignControl *> controls) {
    panel.selectControls(controls, *controls.begin());
    show(*controls.begin());
  }
  void show(DesignObject *object) { grid.setProperties(panel, object); }

  // Types a value into a cell and leaves it.
  void edit(int row, const QString &text) {
    ASSERT_TRUE(grid.startEdit(row, 1).allowed) << "row " << row;
    grid.setTextMatrix(row, 1, text);
    grid.afterEdit(row, 1);
  }

  QString value(int row) const { return grid.textMatrix(row, 1); }
  QString label(int row) const { return grid.textMatrix(row, 0); }

  GridUi ui;
  PanelEditor panel{ui};
  PropertyGrid grid;
};
