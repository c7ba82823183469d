#pragma once

// Helpers shared by the grid's fill, edit and apply steps. Not used outside grid/.

#include <QString>
#include <functional>
#include <initializer_list>
#include <stdexcept>

#include "grid/gridrows.h"
#include "model/designcontrol.h"

class clsControlDetails;
class frmPanel;
class PropertyGrid;

// An edit that cannot be applied; the grid reports it as
// "Error changing the property".
class GridEditError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --- reading cell texts
// A decimal number (blanks around it allowed, "." or "," as separator).
bool ReadCellNumber(const QString &text, double *value);
// A whole number in 32-bit range, halves rounded to even; false when not numeric.
bool ReadCellInt32(const QString &text, qint32 *value);
bool ReadCellInt16(const QString &text, qint16 *value);
// "True"/"False" in any case, or a number (non-zero is true); throws otherwise.
bool CellBool(const QString &text);
// The colour text a record keeps for a typed colour. A decimal number is
// kept in its "&H" form: the panel file takes prefix-less digits as hex, so
// "255" would come back as another colour.
QString StoredColorText(const QString &typed);
// A positive font size; throws otherwise.
double CellFontSize(const QString &text);
QString BoolText(bool value);    // "True" / "False"
QString OnOffText(bool value);   // "On" / "Off"
QString SizeText(double value);  // "8.25", "10"

// Line breaks as the grid shows them ("\n", two characters) and back (CR LF).
QString CaptionToCell(const QString &caption);
QString CellToCaption(const QString &cell);

// --- controls and records
// A set of control kinds, for "each selected control of these classes".
class KindSet {
 public:
  KindSet(std::initializer_list<ControlKind> kinds) {
    for (ControlKind k : kinds) m_bits |= 1u << int(k);
  }
  static KindSet All() {
    KindSet s{};
    s.m_bits = (1u << kControlKindCount) - 1;
    return s;
  }
  bool contains(ControlKind k) const { return m_bits & (1u << int(k)); }

 private:
  unsigned m_bits = 0;
};

// Calls `fn` for every selected control of the given kinds, in selection
// order, with its record. A control without a record gets a scratch record,
// so the change still reaches the visible control.
void ForEachSelected(frmPanel &panel, KindSet kinds,
                     const std::function<void(DesignControl &, clsControlDetails &)> &fn);

// The background a button or label shows for its record's state.
qint32 StateBackColor(const clsControlDetails &record);
void SetBackColor(DesignControl &control, qint32 colour);

// Places a control's selection frame around it again (left/top - 75,
// width/height + 150).
void PlaceFrame(frmPanel &panel, const DesignControl &control);

// Everything one after-edit step needs.
struct EditContext {
  PropertyGrid &grid;
  frmPanel &panel;
  GridKind kind;
  int row;
  QString text;               // the cell text
  DesignObject *shown;        // the object the grid shows (the canvas for Main)
  clsControlDetails *record;  // its record; null for Main
};

// The apply steps, one per group of kinds. Each returns the frmPanel change
// flags of what it did.
int ApplyGeometryRow(EditContext &ctx);
int ApplyPanelRow(EditContext &ctx);
int ApplyButtonLabelRow(EditContext &ctx);
int ApplyMeterRow(EditContext &ctx);
int ApplyClockRow(EditContext &ctx);
int ApplyWebRow(EditContext &ctx);
