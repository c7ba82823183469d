#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "model/panelmodel.h"

// What one user action changed on a panel window, kept by its undo step.
// Only what changed is kept: a moved control costs its two geometries, a
// control whose properties changed a copy of it and its record before and
// after, an added or removed control the control itself while it is out of
// the panel. The panel's own values are kept only when they changed.

// The selection of a panel window, put back with the controls.
struct SelectionState {
  std::vector<DesignControl *> selected;
  DesignObject *current = nullptr;
  DesignObject *focusObject = nullptr;
  int focusFrame = 0;
  bool operator==(const SelectionState &) const = default;
};

struct ControlGeometry {
  qint32 left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ControlGeometry &) const = default;
};
ControlGeometry geometryOf(const DesignControl &control);
void setGeometry(DesignControl &control, const ControlGeometry &geometry);

// The panel's own values a user can change: name, caption, window size,
// colours, picture, load action and picture folder.
struct PanelValues {
  PanelCanvas canvas;
  QString caption;
  qint32 width = 0, height = 0;
  QString defaultPictureFolder;
  QString pictureSourcePath, panelPath, backColorOn, backColorOff, picture, onLoad;

  static PanelValues fromModel(const PanelModel &model);
  bool operator==(const PanelValues &) const = default;
};

// A control that only moved or changed size.
struct GeometryChange {
  DesignControl *control;
  int frame;  // its selection frame, which follows it
  ControlGeometry before, after;
};

// A control whose properties or record changed: copies of whichever of the
// two changed (a renamed panel changes every record, but no control).
struct ControlCopy {
  std::unique_ptr<DesignControl> control;
  std::optional<ControlRecord> record;
};
struct PropertyChange {
  DesignControl *control;
  ControlRecord *record;  // null for a control without a record
  ControlGeometry geometryBefore, geometryAfter;
  ControlCopy before, after;
};

// A control the action added or removed, with its place in the drawing
// order and in the records. While it is out of the panel the change holds
// it (and its record), so every other step keeps pointing at the same object.
struct PresenceChange {
  DesignControl *control = nullptr;
  ControlRecord *record = nullptr;
  size_t zPosition = 0;
  size_t recordPosition = 0;
  std::optional<ResizeFrame> frame;
  std::unique_ptr<DesignControl> heldControl;
  std::unique_ptr<ControlRecord> heldRecord;
};

// A new stacking order of the controls that stayed (Bring to Front, a drag
// in the control list): the span of the drawing order and the span of the
// records that changed, before and after. The spans index the lists without
// the controls the action added or removed.
template <class T>
struct OrderSpan {
  size_t from = 0;
  std::vector<T *> before, after;
  bool empty() const { return before == after; }
};
struct OrderChange {
  OrderSpan<DesignControl> zOrder;
  OrderSpan<ControlRecord> records;
  bool empty() const { return zOrder.empty() && records.empty(); }
};

struct PanelChange {
  std::vector<GeometryChange> geometry;
  std::vector<PropertyChange> properties;
  std::vector<PresenceChange> removed;  // in the order they were removed
  std::vector<PresenceChange> added;    // by ascending place in the drawing order
  OrderChange order;
  std::optional<PanelValues> panelBefore, panelAfter;
  QString panelName;  // the panel's name when the action began
  SelectionState selectionBefore, selectionAfter;

  bool empty() const;
  // How many controls the change touches.
  int controlCount() const;
  // The one control it touches, when it touches exactly one.
  const DesignControl *onlyControl() const;
  bool geometryOnly() const {
    return properties.empty() && removed.empty() && added.empty() && !panelBefore && order.empty();
  }
  // Folds a later geometry-only change into this one (a run of arrow keys).
  void mergeGeometry(const PanelChange &later);
  // Drops geometry entries whose net change is nothing.
  void dropUnchangedGeometry();
};

// Records one action: copies what it may change when it begins, and turns
// the difference into a PanelChange when it ends.
class ChangeRecorder {
 public:
  ChangeRecorder(PanelModel &model, SelectionState selection);
  // Copies a control (and its record) before the action changes it; a
  // second call for the same control keeps the first copy.
  void touch(DesignControl *control);
  void touchAll();
  // A control the action removed: the recorder keeps it.
  void removed(PresenceChange removal);
  PanelChange finish(SelectionState selection);

 private:
  struct Before {
    ControlGeometry geometry;
    ControlCopy copy;
    ControlRecord *record;
  };
  ControlRecord *recordOf(const DesignControl *control);
  void findAdded(PanelChange &change);
  void findOrder(PanelChange &change);

  PanelModel &m_model;
  SelectionState m_selection;
  PanelValues m_panel;
  std::vector<DesignControl *> m_zOrder;
  std::vector<ControlRecord *> m_records;
  std::vector<DesignControl *> m_touchOrder;
  std::unordered_map<const DesignControl *, Before> m_touched;
  std::unordered_map<const DesignControl *, ControlRecord *> m_recordIndex;
  std::vector<PresenceChange> m_removed;
};
