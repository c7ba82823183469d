#include "server/panellist.h"

#include <QList>

namespace {
const QString kLineEnd = QStringLiteral("\r\n");

// A line too long to show or use (no usable panel name is longer) is left out.
bool leaveOut(QStringView line, qsizetype *leftOut) {
  if (line.size() <= kLongestPanelListLine) return false;
  if (leftOut) ++*leftOut;
  return true;
}
}  // namespace

std::vector<PanelEntry> readPanelList(QStringView payload, qsizetype *leftOut) {
  std::vector<PanelEntry> entries;
  for (QStringView line : payload.split(kLineEnd)) {
    if (line.isEmpty()) break;
    if (leaveOut(line, leftOut)) continue;
    const qsizetype tab = line.indexOf(u'\t');
    PanelEntry entry;
    entry.panelName = (tab < 0 ? line : line.left(tab)).toString();
    if (tab >= 0) {
      const QStringView rest = line.mid(tab + 1);
      const qsizetype nextTab = rest.indexOf(u'\t');
      entry.panelCaption = (nextTab < 0 ? rest : rest.left(nextTab)).toString();
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<PanelEntry> readPanelNames(QStringView payload, qsizetype *leftOut) {
  std::vector<PanelEntry> entries;
  for (QStringView line : payload.split(kLineEnd, Qt::SkipEmptyParts))
    if (!leaveOut(line, leftOut)) entries.push_back({line.toString(), QString()});
  return entries;
}

QString writePanelList(const std::vector<PanelEntry> &entries) {
  QString out;
  for (const PanelEntry &e : entries) {
    if (!out.isEmpty()) out += kLineEnd;
    out += e.panelName + u'\t' + e.panelCaption;
  }
  return out;
}
