#include "server/panellist.h"

#include <QList>

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

std::vector<clsPanelEntry> ReadPanelList(QStringView payload) {
  std::vector<clsPanelEntry> entries;
  for (QStringView line : payload.split(kLineEnd)) {
    if (line.isEmpty()) break;
    const qsizetype tab = line.indexOf(u'\t');
    clsPanelEntry entry;
    entry.PanelName = (tab < 0 ? line : line.left(tab)).toString();
    if (tab >= 0) {
      const QStringView rest = line.mid(tab + 1);
      const qsizetype nextTab = rest.indexOf(u'\t');
      entry.PanelCaption = (nextTab < 0 ? rest : rest.left(nextTab)).toString();
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<clsPanelEntry> ReadPanelNames(QStringView payload) {
  std::vector<clsPanelEntry> entries;
  for (QStringView line : payload.split(kLineEnd, Qt::SkipEmptyParts))
    entries.push_back({line.toString(), QString()});
  return entries;
}

QString WritePanelList(const std::vector<clsPanelEntry> &entries) {
  QString out;
  for (const clsPanelEntry &e : entries) {
    if (!out.isEmpty()) out += kLineEnd;
    out += e.PanelName + u'\t' + e.PanelCaption;
  }
  return out;
}
