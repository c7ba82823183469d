#pragma once

// The panels folder of the benchmarks that search or check closed files:
// 100 panel files of 1,000 controls each, with one hardware map holding the
// bindings of all of them, written once per program.

#include "benchsupport.h"

namespace bench {

constexpr int kClosedFiles = 100;
constexpr int kClosedFileControls = 1000;

inline Workspace &closedPanelsWorkspace() {
  static Workspace ws;
  static const bool written = [] {
    QString entries;
    for (int i = 0; i < kClosedFiles; ++i) {
      const QString name = QStringLiteral("Console%1").arg(i, 3, 10, QLatin1Char('0'));
      QString map;
      const QString text = panelText(kClosedFileControls, name, ws.graphicsFolder(), &map);
      writeLatin1(ws.panelsFolder() + name + QStringLiteral(".xml"), text);
      const QString open = QStringLiteral("<ControlList>\r\n");
      const qsizetype from = map.indexOf(open) + open.size();
      entries += map.mid(from, map.indexOf(QStringLiteral("  </ControlList>")) - from);
    }
    return writeLatin1(ws.hardwareMapFile(),
                       QStringLiteral("<HardwareMapList>\r\n  <Name>HardwareMapList</Name>\r\n"
                                      "  <ControlList>\r\n") +
                           entries + QStringLiteral("  </ControlList>\r\n</HardwareMapList>\r\n"));
  }();
  (void)written;
  return ws;
}

}  // namespace bench
