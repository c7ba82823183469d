#pragma once

// Helpers shared by the grid's fill, edit and apply steps. Not used outside grid/.

#include <QString>
#include <functional>
#include <initializer_list>
#include <stdexcept>

#include "grid/gridrows.h"
#include "model/controlrecord.h"
#include "model/designcontrol.h"
#include "surface/paneleditor.h"

class PropertyGrid;

// An edit that cannot be applied; the grid reports it as
// "Error changing the property".
class GridEditError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether a typed panel or control name can be stored: a name with
// characters the files' code page lacks would be written as "?" and meet
// other names so written. Says so (the caller reverts the name) when not.
bool nameFitsFiles(PanelEditor &panel, const QString &name);

// --- reading cell texts
// A decimal number (blanks around it allowed, "." or "," as separator).
bool readCellNumber(const QString &text, double *value);
// A whole number in 32-bit range, halves rounded to even; false when not numeric.
bool readCellInt32(const QString &text, qint32 *value);
bool readCellInt16(const QString &text, qint16 *value);
// "True"/"False" in any case, or a number (non-zero is true); throws otherwise.
bool cellBool(const QString &text);
// The colour text a record keeps for a typed colour. A decimal number is
// kept in its "&H" form: the panel file takes prefix-less digits as hex, so
// "255" would come back as another colour.
QString storedColorText(const QString &typed);
// A positive font size; throws otherwise.
double cellFontSize(const QString &text);
QString onOffText(bool value);   // "On" / "Off"
QString sizeText(double value);  // "8.25", "10"

// Line breaks as the grid shows them ("\n", two characters) and back (CR LF).
QString captionToCell(const QString &caption);
QString cellToCaption(const QString &cell);

// --- controls and records
// A set of control kinds, for "each selected control of these classes".
struct KindSet {
  unsigned bits = 0;  // one bit per ControlKind

  constexpr KindSet(std::initializer_list<ControlKind> kinds) {
    for (ControlKind k : kinds) bits |= 1u << int(k);
  }
  static constexpr KindSet all() {
    KindSet s{};
    s.bits = (1u << kControlKindCount) - 1;
    return s;
  }
  constexpr bool contains(ControlKind k) const { return bits & (1u << int(k)); }
};

inline constexpr KindSet kButtonsAndLabels{ControlKind::Button, ControlKind::Label};
// The kinds whose name the grid changes: all but kept controls, whose text
// keeps its name.
inline constexpr KindSet kNamedKinds{ControlKind::Button,     ControlKind::Label,
                                     ControlKind::WebBrowser, ControlKind::Meter,
                                     ControlKind::MeterFader, ControlKind::Clock};

// Calls `fn` for every selected control of the given kinds, in selection
// order, with its record. A control without a record gets a scratch record,
// so the change still reaches the visible control.
void forEachSelected(PanelEditor &panel, KindSet kinds,
                     const std::function<void(DesignControl &, ControlRecord &)> &fn);

// The background a button or label shows for its record's state.
qint32 stateBackColor(const ControlRecord &record);
void setBackColor(DesignControl &control, qint32 colour);

// Places a control's selection frame around it again (left/top - 75,
// width/height + 150).
void placeFrame(PanelEditor &panel, const DesignControl &control);

// Everything one step of an edit needs.
struct EditContext {
  PropertyGrid &grid;
  PanelEditor &panel;
  GridKind kind;
  int row;
  QString text;           // the cell text
  DesignObject *shown;    // the object the grid shows (the canvas for Main)
  ControlRecord *record;  // its record; null for Main
};

// --- steps shared by several kinds' rows (GridRow)
// The Name row of a control: cleaned, then renamed (or numbered).
int renameControl(EditContext &ctx);

// Cell buttons, and the Delete key on the rows they fill.
int chooseColour(EditContext &ctx);  // then applies the colour as typed
int chooseButtonFont(EditContext &ctx);
int chooseClockFont(EditContext &ctx);
int choosePanelPicture(EditContext &ctx);
int chooseButtonPicture(EditContext &ctx);
int chooseClockPicture(EditContext &ctx);
int chooseFolder(EditContext &ctx);
int clearPanelPicture(EditContext &ctx);
int clearButtonPicture(EditContext &ctx);
int clearFolder(EditContext &ctx);

// A record text shown as it is, and a typed text stored in the record of
// every selected control of the given kinds.
template <QString ControlRecord::*Field>
QString recordText(RowSource &source) {
  return source.record->*Field;
}
template <QString ControlRecord::*Field, KindSet Kinds>
int storeRecordText(EditContext &ctx) {
  forEachSelected(ctx.panel, Kinds,
                  [&](DesignControl &, ControlRecord &r) { r.*Field = ctx.text; });
  return PanelEditor::Properties;
}
