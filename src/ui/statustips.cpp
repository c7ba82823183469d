#include "ui/statustips.h"

#include <QCoreApplication>
#include <QHash>

QString StatusTipOf(const QString &actionName) {
  static const QHash<QString, const char *> tips = {
      {"mnuNewPanel", "Start a new, empty panel"},
      {"mnuSavePanel", "Save the active panel"},
      {"mnuSaveAs", "Save the active panel under another name"},
      {"mnuOpenPanel", "Open a panel from the panels folder or the server"},
      {"mnuOpenLocalPanel", "Open a panel file from any folder"},
      {"mnuConnect", "Open and save panels on a routing server"},
      {"mnuWorkLocally", "Leave the server and open and save panels as local files"},
      {"mnuClosePanel", "Close the active panel, asking to save its changes"},
      {"mnuQuit", "Close every panel, asking to save changes, and quit"},
      {"mnuUndo", "Take back the last change of the active panel"},
      {"mnuRedo", "Do again the change just taken back"},
      {"mnuCut", "Move the selected controls (or the grid's text) to the clipboard"},
      {"mnuCopy", "Copy the selected controls (or the grid's text) to the clipboard"},
      {"mnuPaste", "Paste controls (or text into the grid) from the clipboard"},
      {"mnuSelectAll", "Select every control of the active panel"},
      {"mnuAlignLeft", "Line up the left edges of the selection with the current control"},
      {"mnuAlignRight", "Line up the right edges of the selection with the current control"},
      {"mnuAlignTop", "Line up the top edges of the selection with the current control"},
      {"mnuAlignBottom", "Line up the bottom edges of the selection with the current control"},
      {"mnuSpreadHorizontal", "Space the selected controls evenly from left to right"},
      {"mnuSpreadVertical", "Space the selected controls evenly from top to bottom"},
      {"mnuMakeSameWidth", "Give the selection the width of the current control"},
      {"mnuMakeSameHeight", "Give the selection the height of the current control"},
      {"mnuMakeSameSize", "Give the selection the size of the current control"},
      {"mnuFind", "Find controls by name, caption, command, route or mapping"},
      {"mnuFindNext", "Go to the next control found"},
      {"mnuCheckPanels",
       "List the faults of the open panels or of every panel in the panels folder"},
      {"mnuPreview", "Try the active panel as operators see it, and back"},
      {"mnuShowGrid", "Show the panel's grid as dots on the canvas (never in preview or files)"},
      {"mnuSnapToControls",
       "Line moved and resized controls up with the others and the panel, with guides (Alt: off)"},
      {"mnuSnapToGrid", "Put moved and resized edges on the panel's grid (Alt: off)"},
      {"mnuZoomIn", "Show the active panel larger (Ctrl+wheel zooms about the pointer)"},
      {"mnuZoomOut", "Show the active panel smaller"},
      {"mnuActualSize", "Show the active panel at 100 %"},
      {"mnuFitToWindow", "Zoom so that every control of the active panel is in view"},
      {"mnuButton", "Add a push button to the active panel"},
      {"mnuLabel", "Add a label to the active panel"},
      {"mnuMeter", "Add a level meter to the active panel"},
      {"mnuWebBrowser", "Add a web browser to the active panel"},
      {"mnuClock", "Add a clock to the active panel"},
      {"mnuCodecControl", "Codec controls are not available yet"},
      {"mnuHelp", "Open the manual"},
      {"mnuAbout", "Show the version and licence of the designer"},
      {"mnuAboutQt", "Show the version and licence of Qt"},
  };
  const char *tip = tips.value(actionName, nullptr);
  return tip ? QCoreApplication::translate("StatusTips", tip) : QString();
}
