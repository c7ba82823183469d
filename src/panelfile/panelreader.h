#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

#include "model/xmlreader.h"

class HardwareMap;
class PanelModel;
class ReadHooks;
class ControlRecord;

// Reads a panel document into a freshly created panel in one pass over the
// reader's events: the panel's own values, then every control of
// "ControlList" (a visible control on the canvas, a frame and a record
// appended to records, then hooks.controlRead), and finally
// hooks.panelRead. Element names are compared in any case, in any order;
// unknown elements are ignored, empty panel-level values skipped. A control
// element that cannot be read to its end keeps what was read so far; the
// rest of the panel is still read.
//
// The hardware map completes the controls' hardware fields.
//
// False, with the reason in `error`, when the text is not well-formed XML
// (or carries a DOCTYPE, or breaks a limit of readXml): the panel then holds
// whatever was read before the fault and must be discarded, never shown.
//
// Colour names of buttons and labels are read into the "&H" form unless
// `colours` keeps them as written (a recovery copy holds the texts the lost
// session would have saved).
enum class ColourTexts { Canonical, AsWritten };
bool analyzeXML(const QString &text, PanelModel &panel, ReadHooks &hooks, const HardwareMap &map,
                XmlError *error = nullptr, ColourTexts colours = ColourTexts::Canonical);

// Builds one control from the XML of one control element: loads a visible
// control of its kind on the panel and returns its record, not yet appended
// to records. Null when nothing was created (text that is not XML, a
// codec control, no or an unknown "Type").
//
// checkNames is the paste mode: Left and Top are reduced by the offsets and a
// name already used on the panel is replaced by a fresh default name.
std::unique_ptr<ControlRecord> readControl(const QString &controlXml, PanelModel &panel,
                                           bool checkNames, qint32 leftOffset, qint32 topOffset,
                                           const HardwareMap &map);
