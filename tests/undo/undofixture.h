#pragma once

#include <QFile>

#include "app/designerfixture.h"
#include "components/datetimestamp.h"
#include "grid/propertygrid.h"
#include "surface/paneleditor.h"

// The designer with the golden panel opened from a real panels folder, its
// two hardware-bound controls in the hardware map, and a fixed clock, so
// that two saves of the same panel give the same bytes.
class UndoTest : public DesignerFixture {
 public:
  PanelEditor *panel = nullptr;
  QString path;

  void SetUp() override {
    DesignerFixture::SetUp();
    DateTimeStamp::setClock([] { return QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)); });
    path = panelsFolder() + "Studio.xml";
    ASSERT_TRUE(QFile::copy(TESSARY_FIXTURES "/panelfile/golden_panel.xml", path));
    QFile map(programSettings().hardwareMapFile);
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.write(
        "<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n  <ControlList>\r\n"
        "    <Control>\r\n      <Type>Button</Type>\r\n      "
        "<HostIPAddress>10.0.0.5</HostIPAddress>\r\n"
        "      <HostPort>5000</HostPort>\r\n      <InternalName>Studio.Button1</InternalName>\r\n"
        "      <AoipSysName>MOD_USER#3.BUT#12</AoipSysName>\r\n    </Control>\r\n"
        "    <Control>\r\n      <Type>GPIOButton</Type>\r\n      "
        "<HostIPAddress>10.0.0.6</HostIPAddress>\r\n"
        "      <HostPort>5001</HostPort>\r\n      <InternalName>Studio.Label1</InternalName>\r\n"
        "      <AoipSysName>Port3_Circuit12</AoipSysName>\r\n    </Control>\r\n"
        "  </ControlList>\r\n</HardwareMapList>\r\n");
    map.close();
    panel = designer->openPanelLocal(path);
    ASSERT_NE(panel, nullptr);
  }
  void TearDown() override { DateTimeStamp::setClock({}); }

  DesignControl *control(const QString &name) {
    for (DesignControl *c : panel->model().zOrder())
      if (c->tag == name) return c;
    ADD_FAILURE() << "no control " << name.toStdString();
    return nullptr;
  }
  // A plain click on the first, Ctrl+clicks on the others.
  void select(std::initializer_list<const char *> names) {
    bool first = true;
    for (const char *name : names) {
      panel->setCtrlDown(!first);
      panel->controlGotFocus(control(name));
      first = false;
    }
    panel->setCtrlDown(false);
  }
  int frameOf(const char *name) { return panel->frameIndexOf(control(name)); }

  // The grid shows the current object; an edit types into a row and leaves it.
  PropertyGrid &grid() { return designer->grid(); }
  void showInGrid() { panel->fillPropertiesTick(); }
  void gridEdit(int row, const QString &text) {
    grid().startEdit(row, 1);
    grid().setTextMatrix(row, 1, text);
    grid().afterEdit(row, 1);
  }

  // The saved panel file and the hardware map, as bytes.
  // (A panel saved under another name leaves that name's entries in the
  // map, so a renaming compares the panel file alone.)
  QByteArray save(bool withMap = true) {
    EXPECT_TRUE(designer->savePanelDocument(panel, path));
    QFile file(path), map(programSettings().hardwareMapFile);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && map.open(QIODevice::ReadOnly));
    return withMap ? file.readAll() + "\n--- hardware map ---\n" + map.readAll() : file.readAll();
  }

  // What a file does not show: the very objects in their arrays and drawing
  // order, the frames, the selection and the current control.
  struct State {
    std::vector<const DesignControl *> zOrder;
    std::vector<QString> controls;  // kind, index, name
    std::vector<const ControlRecord *> records;
    std::vector<QString> frames;  // index, shown, geometry
    std::vector<DesignControl *> selection;
    const DesignObject *current;
    bool operator==(const State &) const = default;
  };
  State state() {
    State s;
    PanelModel &m = panel->model();
    for (const DesignControl *c : m.zOrder()) {
      s.zOrder.push_back(c);
      s.controls.push_back(
          QStringLiteral("%1 %2 %3").arg(int(c->kind())).arg(c->index()).arg(c->tag));
    }
    for (const auto &r : m.panelRecord.records) {
      s.records.push_back(r.get());
      if (const ResizeFrame *f = m.frame(r->frameIndex))
        s.frames.push_back(QStringLiteral("%1 %2 %3,%4 %5x%6")
                               .arg(f->index)
                               .arg(f->visible)
                               .arg(f->left)
                               .arg(f->top)
                               .arg(f->width)
                               .arg(f->height));
    }
    s.selection = panel->selectedControls();
    s.current = panel->currentControl();
    return s;
  }
};

inline void printTo(const UndoTest::State &s, std::ostream *os) {
  *os << s.controls.size() << " controls, " << s.selection.size() << " selected; frames:";
  for (const QString &f : s.frames) *os << " [" << f.toStdString() << "]";
}
