#include "panelfile/paneldifferences.h"

#include <QMap>
#include <QStringList>

#include "hwmap/hardwaremap.h"
#include "model/panelmodel.h"
#include "model/xmlwriter.h"
#include "panelfile/panelreader.h"
#include "panelfile/panelwriter.h"
#include "panelfile/readhooks.h"

namespace {

// Each control's document text under its name in lower case (the name as
// written is kept for the list).
struct Controls {
  QMap<QString, QString> text;
  QMap<QString, QString> name;
};

Controls controlsOf(const PanelModel &panel) {
  Controls out;
  for (const auto &record : panel.panelRecord.records) {
    if (!record || !record->control) continue;
    XmlWriter writer;
    controlToXML(writer, *record, false);
    const QString name = record->control->tag;
    out.text.insert(name.toLower(), writer.take());
    out.name.insert(name.toLower(), name);
  }
  return out;
}

// The controls of a panel document as the reader gives them back; false when
// it does not read.
bool readControls(const QString &text, Controls *controls) {
  PanelModel panel;
  ReadHooks hooks;
  if (!analyzeXML(text, panel, hooks, HardwareMap(), nullptr)) return false;
  *controls = controlsOf(panel);
  return true;
}

}  // namespace

QString describePanelDifferences(const PanelModel &panel, const QString &diskText) {
  // Both sides go through the reader, so that values it writes back in
  // another form (a colour's name) do not count as differences.
  Controls mine, theirs;
  if (!readControls(diskText, &theirs))
    return QStringLiteral("The file on disk does not read as a panel any more.");
  readControls(buildPanelDocument(panel, false), &mine);
  QStringList onlyOnDisk, onlyHere, different;
  for (auto it = theirs.text.cbegin(); it != theirs.text.cend(); ++it) {
    if (!mine.text.contains(it.key()))
      onlyOnDisk << theirs.name.value(it.key());
    else if (mine.text.value(it.key()) != it.value())
      different << theirs.name.value(it.key());
  }
  for (auto it = mine.text.cbegin(); it != mine.text.cend(); ++it)
    if (!theirs.text.contains(it.key())) onlyHere << mine.name.value(it.key());
  QStringList lines;
  const auto add = [&lines](const QString &what, const QStringList &names) {
    if (!names.isEmpty()) lines << what + names.join(QStringLiteral(", "));
  };
  add(QStringLiteral("Only in the file on disk: "), onlyOnDisk);
  add(QStringLiteral("Only in this panel: "), onlyHere);
  add(QStringLiteral("Different: "), different);
  if (lines.isEmpty())
    return QStringLiteral(
        "The controls are the same; the panel's own settings or the "
        "file's layout differ.");
  return lines.join(QStringLiteral("\r\n"));
}
