#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

#include "model/xmlreader.h"

class HardwareMap;
class PanelModel;
class ReadHooks;
class clsControlDetails;

// Reads a panel document into a freshly created panel in one pass over the
// reader's events: the panel's own values, then every control of
// "ControlList" (a visible control on the canvas, a frame and a record
// appended to CollControls, then hooks.controlRead), and finally
// hooks.panelRead. Element names are compared in any case, in any order;
// unknown elements are ignored, empty panel-level values skipped. A control
// element that cannot be read to its end keeps what was read so far; the
// rest of the panel is still read.
//
// The hardware map completes the controls' hardware fields.
//
// False, with the reason in `error`, when the text is not well-formed XML
// (or carries a DOCTYPE, or breaks a limit of ReadXml): the panel then holds
// whatever was read before the fault and must be discarded, never shown.
bool AnalyzeXML(const QString &text, PanelModel &panel, ReadHooks &hooks, const HardwareMap &map,
                XmlError *error = nullptr);

// Builds one control from the XML of one control element: loads a visible
// control of its kind on the panel and returns its record, not yet appended
// to CollControls. Null when nothing was created (text that is not XML, a
// codec control, no or an unknown "Type").
//
// checkNames is the paste mode: Left and Top are reduced by the offsets and a
// name already used on the panel is replaced by a fresh default name.
std::unique_ptr<clsControlDetails> GetControl(const QString &controlXml, PanelModel &panel,
                                              bool checkNames, qint32 leftOffset, qint32 topOffset,
                                              const HardwareMap &map);

// The control reader on the events of a larger document: feed it the events
// of one control element (the element's own start and end tags included)
// and take the control at its end. Used by the panel reader and paste.
class ControlElementReader {
 public:
  explicit ControlElementReader(QStringView documentText);
  ~ControlElementReader();
  ControlElementReader(const ControlElementReader &) = delete;
  ControlElementReader &operator=(const ControlElementReader &) = delete;

  // `depth` counts from the control element (0) down.
  void startElement(QStringView name, int depth);
  void endElement(int depth);
  void text(QStringView value, int depth);

  // The number at the start of a direct child's text ("Left", "Top"), or -1
  // when there is no such child. Valid once the element has ended.
  qint32 number(QStringView lowerName);

  // Builds the control read since the element started (null as GetControl).
  std::unique_ptr<clsControlDetails> build(PanelModel &panel, bool checkNames, qint32 leftOffset,
                                           qint32 topOffset, const HardwareMap &map);

 private:
  void settleCopies();
  struct State;
  std::unique_ptr<State> d;
};
