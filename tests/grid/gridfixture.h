#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "grid/propertygrid.h"
#include "model/settings.h"
#include "support/fakeui.h"
#include "surface/frmpanel.h"

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
    Settings() = ProgramSettings{};
    panel.model().pictMain.Tag = QStringLiteral("Studio");
    panel.setCaption(QStringLiteral("Studio"));
  }

  // A control placed through the Insert menu (or, for the meter-fader, which
  // has no menu entry, straight into the model) with its record and frame.
  template <class T>
  T *add(const QString &name, qint32 left = 0, qint32 top = 0) {
    DesignControl *control = panel.InsertControl(T::Kind);
    if (!control) {
      control = panel.model().Load<T>();
      auto record = std::make_unique<clsControlDetails>();
      record->cntrlObject = control;
      record->lngPictResizeIndex = panel.model().GetNewPictResize();
      panel.model().PanelDetails.CollControls.push_back(std::move(record));
    }
    control->Tag = name;
    control->Left = left;
    control->Top = top;
    return static_cast<T *>(control);
  }

  clsControlDetails &record(const DesignControl *control) {
    clsControlDetails *r = panel.model().FindRecord(control);
    EXPECT_NE(r, nullptr);
    return *r;
  }

  // Selects the controls in this order and shows the first in the grid.
  void select(std::initializer_list<DesignControl *> controls) {
    panel.collSelectedControls.assign(controls.begin(), controls.end());
    show(*controls.begin());
  }
  void show(DesignObject *object) { grid.SetProperties(panel, object); }

  // Types a value into a cell and leaves it.
  void edit(int row, const QString &text) {
    ASSERT_TRUE(grid.StartEdit(row, 1).allowed) << "row " << row;
    grid.setTextMatrix(row, 1, text);
    grid.AfterEdit(row, 1);
  }

  QString value(int row) const { return grid.TextMatrix(row, 1); }
  QString label(int row) const { return grid.TextMatrix(row, 0); }

  GridUi ui;
  frmPanel panel{ui};
  PropertyGrid grid;
};
