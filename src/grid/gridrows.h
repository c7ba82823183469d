#pragma once

#include <QString>
#include <span>

// The fixed row layout of the property grid: which rows each kind of object
// shows, their labels, how each value is edited, what it shows and what an
// edit of it changes. Each kind has one table of row descriptions
// (GridRow); the grid's fill, edit start, after-edit step, cell buttons
// and Delete key all read that table.

class DesignObject;
class PropertyGrid;
class ControlRecord;
class PanelEditor;
struct EditContext;

// The kind of object the grid shows, as read from its "Type" row.
// Kept: a control this version keeps as its text (its placeholder).
enum class GridKind { None, Main, Button, Label, WebBrowser, Meter, MeterFader, Clock, Kept };

// How the value cell of a row is edited.
enum class EditKind {
  ReadOnly,    // the edit is refused
  Text,        // free typing
  CellButton,  // a "..." button runs a dialog; no typing
  Colour,      // free typing plus a "..." button that opens the colour dialog
  List,        // a fixed drop-down list
  Dynamic,     // a drop-down list built when the edit starts
};

// What the fill reads a row's value from.
struct RowSource {
  PanelEditor &panel;
  DesignObject &object;   // the canvas or the control shown
  ControlRecord *record;  // its record; null for the canvas
  GridKind kind;
};

// One row of the grid. A step of an edit (`write`, `cellButton`, `clear`)
// runs once per edit and applies it to every selected control the row suits;
// it returns the PanelEditor change flags of what it did (0: nothing changed)
// and throws GridEditError for a value it cannot apply.
struct GridRow {
  const char *label = "";
  EditKind edit = EditKind::ReadOnly;
  const QString *list = nullptr;                             // List: the entries, "|"-separated
  QString (*buildList)(const PropertyGrid &grid) = nullptr;  // Dynamic: built at edit start
  QString (*read)(RowSource &source) = nullptr;              // the value shown; none: empty
  QString (*readLabel)(RowSource &source) = nullptr;         // a label that follows the value
  int (*write)(EditContext &ctx) = nullptr;                  // a typed or chosen value
  int (*cellButton)(EditContext &ctx) = nullptr;             // the "..." dialog
  int (*clear)(EditContext &ctx) = nullptr;                  // Delete or Backspace
  bool colour = false;  // holds a colour text: swatch, right click opens the dialog
};

// The rows of a kind, header row included; empty for None.
std::span<const GridRow> gridRowTable(GridKind kind);
// One row's description; null outside the kind's rows.
const GridRow *gridRowOf(GridKind kind, int row);

// The kind text shown in row 1 ("Main", "Button", ..., "WebBrowser") and back.
QString gridKindText(GridKind kind);
GridKind gridKindFromText(const QString &text);  // any letter case; None when unknown
// The kind names setHeaders takes: as gridKindText, except "WebControl".
GridKind gridKindFromHeaderName(const QString &name);

// Number of rows (header included) of a kind; 0 for None.
int gridRowCount(GridKind kind);
// The label of a row as the fill writes it (module and button rows of
// buttons and labels take their user-panel labels here).
QString gridRowLabel(GridKind kind, int row);
EditKind gridRowEditKind(GridKind kind, int row);
// The entries of a fixed list row, separated by "|"; empty for other rows.
QString gridRowList(GridKind kind, int row);
// Rows holding a colour text: a swatch is shown, and a right click opens
// the colour dialog.
bool isColourRow(GridKind kind, int row);

// Fixed drop-down lists.
namespace GridList {
inline const QString FalseTrue = QStringLiteral("False|True");
inline const QString TrueFalse = QStringLiteral("True|False");
inline const QString OffOn = QStringLiteral("Off|On");
inline const QString SourceDest = QStringLiteral("Source|Destination");
inline const QString Scale = QStringLiteral("Linear|Standard|British");
inline const QString Style = QStringLiteral("Led|Gradient");
inline const QString ButtonMapType = QStringLiteral("Button|Label|GPIOButton");
inline const QString LabelMapType = QStringLiteral("UserPanel Button|GPIO");
}  // namespace GridList

// Row numbers shared by every kind.
namespace CommonRow {
enum { Header = 0, Type = 1, Name = 2, Caption = 3, Width = 4, Height = 5, Top = 6, Left = 7 };
}

namespace MainRow {
enum {
  Width = 4,
  Height = 5,
  Picture = 6,
  BackColor = 7,
  ForeColor = 8,
  OnLoad = 9,
  GraphicsPath = 10,
};
}

// Buttons and labels share rows 2-16; the rest differ.
namespace ButtonRow {
enum {
  BackColorOff = 8,
  BackColorOn = 9,
  ForeColor = 10,
  FontName = 11,
  FontSize = 12,
  FontBold = 13,
  FontUnderline = 14,
  FontItalic = 15,
  State = 16,
  OnClick = 17,
  OnMouseDown = 18,
  OnMouseUp = 19,
  PictureUpOn = 20,
  PictureUpOff = 21,
  PictureDownOn = 22,
  PictureDownOff = 23,
  FlashPicture = 24,
  Flash = 25,
  Enabled = 26,
  MapRouter = 27,
  MapSource = 28,
  MapDestination = 29,
  MapType = 30,
  HostIP = 31,
  HostPort = 32,
  InternalName = 33,
  MappingCode = 34,
  Module = 35,
  Pin = 36,
};
}

namespace LabelRow {
enum {
  Flash = 17,
  MapType = 18,
  HostIP = 19,
  HostPort = 20,
  InternalName = 21,
  MappingCode = 22,
  Module = 23,
  Pin = 24,
};
}

namespace WebRow {
enum { URL = 8 };
}

namespace MeterRow {
enum {
  SourceDest = 8,
  RouterNumber = 9,
  IONumber = 10,
  Scale = 11,
  Style = 12,
  LineColor = 13,
  DecayRate = 14,
  CenterPadOrNominal = 15,
  HideGainValue = 16,
};
}

namespace ClockRow {
enum {
  BackColor = 8,
  ForeColor = 9,
  FaceVisible = 10,
  Digital = 11,
  Military = 12,
  Picture = 13,
  Stretch = 14,
  FontName = 15,
  FontSize = 16,
  FontBold = 17,
  FontUnderline = 18,
  FontItalic = 19,
  LongHashColor = 20,
  ShortHashColor = 21,
  FaceBorderColor = 22,
  OffSet = 23,
  FaceNumbers = 24,
  ElementHands = 25,
};
}

// The hardware rows of a button or label: type, port, internal name,
// mapping code, module and pin. Zero for other kinds.
struct HardwareRows {
  int type = 0, hostIP = 0, hostPort = 0, internalName = 0, code = 0, module = 0, pin = 0;
  bool valid() const { return type != 0; }
};
HardwareRows hardwareRowsOf(GridKind kind);
