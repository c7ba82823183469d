#pragma once

#include <QHash>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "model/panelmodel.h"
#include "surface/snapindex.h"

class Ui;
class ChangeRecorder;
class PanelEditCommand;
struct PanelChange;
struct SelectionState;

// The logic of one panel window: its panel (PanelModel), the selection, the
// mouse and key state of the design surface and the operations on them.
// Views observe it through `changed`; every operation can be called from a
// test with twip coordinates.
class PanelEditor : public QObject {
  Q_OBJECT
 public:
  // What an operation changed, for the views.
  enum Change {
    Geometry = 1,
    Selection = 2,
    Properties = 4,
    Structure = 8,  // controls or frames added or removed
    Caption = 16,
    Pointer = 32,  // a frame's pointer shape
    Order = 64,    // the stacking order of the controls
  };

  explicit PanelEditor(Ui &ui, QObject *parent = nullptr);
  ~PanelEditor() override;

  PanelModel &model() { return m_model; }
  const PanelModel &model() const { return m_model; }
  PanelRecord &panelRecord() { return m_model.panelRecord; }
  Ui &ui() { return m_ui; }

  // Unsaved changes: the undo stack is away from its saved state, or
  // something outside the stack changed (a window resize, a failed save).
  // Setting it false marks the stack's present state as the saved one;
  // setting it true while an undo step records is left to that step. Every
  // assignment notifies the main window's caption mark.
  bool needToSave() const;
  void setNeedToSave(bool value);

  // The window caption (the panel's title).
  QString caption() const { return m_model.caption; }
  void setCaption(const QString &caption);

  // Set while a panel is being opened: window resizes then do not mark it changed.
  bool isOpening() const { return m_opening; }
  void setOpening(bool opening) { m_opening = opening; }
  // The current control (the one the grid shows) and the selected controls
  // in selection order; change them through the selection operations below.
  DesignObject *currentControl() const { return m_currentControl; }
  const std::vector<DesignControl *> &selectedControls() const { return m_selectedControls; }
  qint32 gridSize() const { return m_gridSize; }
  void setGridSize(qint32 twips) { m_gridSize = twips; }

  // The two key flags of the design surface. keyDown/keyUp keep them; the
  // view may also set them from the modifiers of a click.
  bool shiftDown() const { return m_shiftDown; }
  void setShiftDown(bool down) { m_shiftDown = down; }
  bool ctrlDown() const { return m_ctrlDown; }
  void setCtrlDown(bool down) { m_ctrlDown = down; }
  // Where the frame drag in progress was pressed, in twips inside the frame.
  QPoint dragStart() const { return {m_mouseStartX, m_mouseStartY}; }

  // Where the keyboard focus belongs: a control, the canvas, or (when
  // focusFrame() is not 0) a selection frame. The view moves its own focus
  // there after an operation; these operations have already run the
  // consequences of the focus change, so the view must not report it back.
  DesignObject *focusObject() const { return m_focusObject; }
  int focusFrame() const { return m_focusFrame; }

  // Emits `changed` with the flags (views repaint from the core state).
  void notify(int flags) { emit changed(flags); }

  // Collects the change flags of every operation run while it lives and
  // emits `changed` once when the outermost Batch ends. Each operation opens
  // one; wrap bulk work (reading a panel, pasting many controls) in one too,
  // so that views repaint once rather than once per control.
  class Batch {
   public:
    explicit Batch(PanelEditor &panel) : m_panel(panel) { ++m_panel.m_batchDepth; }
    ~Batch();
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;
    void add(int flags) { m_panel.m_pendingChanges |= flags; }

   private:
    PanelEditor &m_panel;
  };

  // --- undo
  // Every user action is one step of this stack; its text names the step
  // for the Edit menu ("Move 3 Controls").
  QUndoStack &undoStack() { return m_undoStack; }
  void undo();
  void redo();

  // How a step is named: as given ("Align Left"), or followed by the one
  // control it touched or the number of controls ("Move Button1", "Move 3
  // Controls").
  enum class StepName { AsIs, WithControls };
  // Steps that merge with the step before them when the selection is the
  // same and nothing was clicked in between.
  enum MergeKind { NoMerge = 0, ArrowMove = 1, ArrowResize = 2 };

  // One user action as one undo step. When the outermost EditStep begins it
  // copies the selected controls, the current control and the panel's own
  // values; when it ends the differences become the step, with the controls
  // the action added and the selection before and after. Steps opened inside
  // it join it. Nothing is pushed when nothing changed. An action that
  // changes a control outside the selection touches it first; controls are
  // removed through removeSelectedControls, which hands them to the step.
  class EditStep {
   public:
    EditStep(PanelEditor &panel, const QString &name, StepName naming = StepName::AsIs,
             MergeKind merge = NoMerge);
    ~EditStep();
    EditStep(const EditStep &) = delete;
    EditStep &operator=(const EditStep &) = delete;
    // Also copies these before the action changes them.
    void touch(DesignControl *control) { m_panel.touch(control); }
    void touchAll();

   private:
    PanelEditor &m_panel;
    Batch m_batch;
  };
  // The same for a gesture that spans several events (a mouse drag).
  void beginEdit(const QString &name, StepName naming = StepName::AsIs, MergeKind merge = NoMerge);
  void endEdit();

  // --- placing controls
  // Palette item names: "MasterButton", "MasterLabel", "pictWebBrowser",
  // "MasterLarkLED", "MasterMeterFader", "MasterMeterFaderDragger",
  // "MasterLKClock", "pictCodecControl". The drop point is in canvas twips;
  // the drag offset is where the palette item was grabbed. `targetIsCanvas`
  // is false when the drop landed on a control (nothing is created then).
  void dropFromPalette(const QString &sourceName, double x, double y, qint32 dragOffsetX,
                       qint32 dragOffsetY, bool targetIsCanvas = true);
  // The Insert menu: a new control at (0, 0); null for the codec control.
  // The menu has no meter-fader entry, so that kind gives null as well, and
  // so does a kept control, which only a file or the clipboard brings.
  DesignControl *insertControl(ControlKind kind);

  // --- selection (mouse buttons: left 1, right 2, middle 4)
  void controlGotFocus(DesignObject *object);
  void canvasGotFocus();
  void frameGotFocus(int frameIndex);
  void clearAllSelected(DesignObject *keepControl = nullptr);
  void clearSingleSelected(DesignObject *object = nullptr);
  void shiftSelect(DesignObject *object);
  bool isObjectSelected(const DesignObject *object) const;
  // Edit > Select All: every control joins the selection in record order;
  // the current control stays when it is one, else the first becomes current.
  void selectAll();
  // A rubber band dragged over the empty canvas (twips): the controls it
  // overlaps or touches join the selection; without `add` they replace it.
  // The last control to join becomes current.
  void rubberBandSelect(const QRect &band, bool add);
  // Bumped by every click or selection command: arrow steps merge only
  // while it stays the same.
  quint64 selectionGeneration() const { return m_selectionGeneration; }
  int frameIndexOf(const DesignObject *objectToSize) const;
  static int edgeCorner(double x, double y, const ResizeFrame &frame);
  // Adds the deltas to the selected controls that have a record and to their
  // frames. A control whose width or height would become negative stops the
  // walk: it and the controls after it keep their geometry.
  void resizeSelected(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight,
                      bool includeCurrent);
  // Mouse on a frame; x, y in twips inside the frame.
  void frameMouseDown(int frameIndex, int button, double x, double y);
  void frameMouseMove(int frameIndex, int buttons, double x, double y);
  void frameMouseUp(int frameIndex, int button, double x, double y);
  // Snapping while a frame drag moves or resizes: what it snaps to, set by
  // the view before the press (the tolerance is a few screen pixels in
  // twips, so it follows the zoom) and `suspended` before each step.
  struct SnapOptions {
    bool toControls = false;  // edges, centres and equal gaps of the others and the panel
    bool toGrid = false;      // the grid of gridSize(), where no control is in reach
    qint32 tolerance = 90;
    bool suspended = false;  // this step moves freely (Alt held)
  };
  SnapOptions snapOptions;
  // The alignments and equal gaps that hold after the last drag step, for
  // the view's guides; empty when no drag snaps.
  const SnapMarks &snapMarks() const { return m_snapMarks; }
  // The four geometry rows the grid shows while the mouse drags (Width,
  // Height, Top, Left); the grid listens to `geometryRowsChanged`.
  // A press on a frame that does not yet have the focus gives it the focus
  // first (frameGotFocus): the view reports the press only, since a second
  // report of the focus would undo a Ctrl+press's deselection.

  // --- keys (codes: Shift 16, Ctrl 17, arrows 37-40, Delete 46, F1 112;
  //     shift state: Shift 1, Ctrl 2, Alt 4). Returns true when the key was consumed.
  bool keyDown(int keyCode, int shift);
  void keyUp(int keyCode, int shift);
  void deleteSelected();
  // Removes the selected controls with their records and frames (Delete
  // after its question, and Cut after the clipboard holds them).
  void removeSelectedControls();
  void alignLeft();
  void alignRight();
  void alignTop();
  void alignBottom();
  void spreadHorizontally();
  void spreadVertically();
  // The centres of the selection on the vertical (Horizontally) or
  // horizontal (Vertically) line through the middle of the whole selection.
  void alignCentresHorizontally();
  void alignCentresVertically();
  // In order of position (then of selection), each selected control after
  // the first stands `gap` twips after the one before it; the first stays.
  void distributeHorizontally(qint32 gap);
  void distributeVertically(qint32 gap);
  // The selected controls take the current control's width, height or both.
  void makeSameWidth();
  void makeSameHeight();
  void makeSameSize();

  // --- stacking order: the order of the panel's control list, which is the
  //     drawing order, back to front
  enum class Stacking { ToFront, ToBack, Forward, Backward };
  // Bring to Front, Send to Back, and one place forward or backward past
  // the next control that is not selected; the selection keeps its own order.
  void restack(Stacking how);
  // False when nothing is selected or the order would not change.
  bool canRestack(Stacking how) const;
  // Moves the controls as one block, in their present order, to stand at
  // `place` among the other controls (0: behind all of them).
  void moveInStack(const std::vector<DesignControl *> &controls, size_t place);
  // Selects exactly these controls (in this order, those already selected
  // first) with `current` as the current control; none selects the canvas.
  void selectControls(const std::vector<DesignControl *> &controls, DesignControl *current);

  // --- graphics
  QString findPicturePath(const QString &reference) const;
  // The file a stored picture resolves to (empty for none) and whether that
  // file exists but cannot be read. Kept while a Batch is open: reading a
  // panel looks the same few pictures up for many buttons.
  std::pair<QString, bool> resolvePicture(const QString &fileName, const QString &origPath) const;
  QString selectGraphicFile();
  void setControlGraphics(ControlRecord &record);
  void setPanelGraphics();
  // Flips the flash phase; the model does not change (painters ask flashColor).
  void flashTick();
  bool flashPhase() const { return m_flashPhase; }
  // The background a control of this record shows now: its on or off colour
  // by the flash phase while it flashes, nothing when it does not flash.
  std::optional<qint32> flashColor(const ControlRecord &record) const;

  // --- window
  // What the window's border and title bar take from its outer size; the
  // canvas gets the rest.
  static constexpr qint32 kWindowFrameWidth = 120;   // 4 px border each side
  static constexpr qint32 kWindowFrameHeight = 465;  // 23 px title bar + 2 x 4 px border
  // The window was resized to an outer size in twips.
  void windowResized(qint32 width, qint32 height);
  // Starts the 100 ms one-shot that refills the grid.
  void requestFillProperties();
  void fillPropertiesTick();
  QTimer fillPropertiesTimer;
  QTimer flashTimer;

 signals:
  void changed(int flags);
  void needToSaveChanged(bool value);
  // The grid should show currentControl() (fillPropertiesTimer fired).
  void fillPropertiesRequested();
  // Live geometry of the current control while the mouse drags it.
  void geometryRowsChanged(qint32 width, qint32 height, qint32 top, qint32 left);
  // The canvas has the focus and the window was resized: the grid shows these
  // in its Width and Height rows when it shows this panel (its Name row holds
  // the canvas Tag).
  void canvasSizeRowsChanged(qint32 width, qint32 height);

 private:
  bool m_opening = false;
  DesignObject *m_currentControl = nullptr;
  std::vector<DesignControl *> m_selectedControls;
  qint32 m_gridSize = 100;
  bool m_shiftDown = false;
  bool m_ctrlDown = false;
  // The frame drag in progress: left button resizes, right button moves,
  // from the press point and the edge or corner code under it.
  bool m_resizing = false;
  bool m_moving = false;
  qint32 m_mouseStartX = 0;
  qint32 m_mouseStartY = 0;
  qint16 m_resizeEdge = 0;
  friend class PanelEditCommand;
  void touch(DesignControl *control);
  SelectionState selectionState() const;
  void commitEdit();
  void applyChange(PanelChange &change, bool undo);
  void restoreSelection(const SelectionState &target);
  void finishGesture();
  void makeSame(bool width, bool height, const QString &name);
  void showCurrentGeometry();
  void selectionClicked() { ++m_selectionGeneration; }
  ControlRecord &appendRecord(DesignControl *control, std::unique_ptr<ControlRecord> record);
  void setFocus(DesignObject *object);
  void showFrame(const DesignControl *control);
  void hideFrame(const DesignControl *control);
  bool controlOfThisPanel(const DesignObject *object) const;
  enum class Axis { Horizontal, Vertical };
  enum class Edge { Near, Far, Centre };
  void align(Axis axis, Edge edge);
  void spread(Axis axis);
  void distribute(Axis axis, qint32 gap);
  // Places the selected controls in order of position (then of selection):
  // the k-th goes where `place` says, given the smallest position and the
  // far edge of the control placed before it (k > 0).
  using PlaceRule = std::function<qint64(qint64 smallest, int k, qint64 previousEnd)>;
  void placeInOrder(Axis axis, const QString &name, const PlaceRule &place);
  std::vector<DesignControl *> restacked(Stacking how) const;
  void restack(const QString &name, std::vector<DesignControl *> order);
  void arrowKey(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight);
  void beginSnapping();
  void endSnapping();
  // Adds to a drag step what makes the moved selection, or the grabbed
  // edges of the resized control, snap.
  void snapMoveStep(qint32 &dx, qint32 &dy);
  void snapResizeStep(const DesignControl &control, int edge, qint32 &dLeft, qint32 &dTop,
                      qint32 &dWidth, qint32 &dHeight);

  Ui &m_ui;
  PanelModel m_model;
  QUndoStack m_undoStack;
  bool m_changedOutsideSteps = false;
  std::unique_ptr<ChangeRecorder> m_recorder;
  int m_editDepth = 0;
  QString m_editName;
  StepName m_editNaming = StepName::AsIs;
  MergeKind m_editMerge = NoMerge;
  bool m_gestureOpen = false;
  quint64 m_selectionGeneration = 0;
  bool m_flashPhase = false;
  DesignObject *m_focusObject = nullptr;
  int m_focusFrame = 0;
  int m_batchDepth = 0;
  int m_pendingChanges = 0;
  mutable QHash<QString, std::pair<QString, bool>> m_pictures;
  std::unique_ptr<SnapIndex> m_snapIndex;  // while a drag that snaps is open
  SnapMarks m_snapMarks;
};

// Key and button codes the views map Qt's values to.
namespace KeyCode {
constexpr int Shift = 16, Ctrl = 17, Left = 37, Up = 38, Right = 39, Down = 40, Delete = 46,
              F1 = 112;
}
namespace ShiftState {
constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}
namespace MouseButton {
constexpr int Left = 1, Right = 2, Middle = 4;
}
