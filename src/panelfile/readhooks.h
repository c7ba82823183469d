#pragma once

class ControlRecord;

// What reading a panel or pasting controls asks of the panel window. The
// reader only fills the model; the window's logic implements these to show
// the result. Every hook does nothing by default.
class ReadHooks {
 public:
  virtual ~ReadHooks() = default;

  // A control read from a panel document was appended to records:
  // apply its graphics (state colours, pictures).
  virtual void controlRead(ControlRecord &record) { (void)record; }
  // The whole panel document was read (or could not be parsed): apply the
  // panel's graphics (background picture).
  virtual void panelRead() {}

  // Pasting is about to add the first control: the canvas gets the focus
  // (the selection empties) and the panel is marked as changed.
  virtual void pasteStarting() {}
  // A pasted control was appended to records: it gets the focus
  // (controlGotFocus) and may have its graphics applied.
  virtual void controlPasted(ControlRecord &record) { (void)record; }
};
