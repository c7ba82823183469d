#pragma once

#include <QString>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "model/designcontrol.h"
#include "model/paneldetails.h"

// Everything one panel holds: the canvas, the control arrays with their
// templates, the selection frames, the panel record and the panel window's
// own values. The panel window's logic (surface) works on it; the reader
// fills it and the writer reads it.
class PanelModel {
 public:
  PanelModel();
  PanelModel(const PanelModel &) = delete;
  PanelModel &operator=(const PanelModel &) = delete;

  // --- panel window values
  clsPanelDetails PanelDetails;
  PanelCanvas pictMain;
  QString Caption;      // the window caption
  QString WindowTag;    // the file or server path of the panel, empty for a new one
  qint32 Width = 9600;  // outer window size in twips
  qint32 Height = 7200;
  QString strDefaultPictureLoc;
  QString strLastDirectory;  // folder of the last picture chosen or folder browsed

  // --- control arrays; element 0 of each is the invisible template
  DesignControl *Template(ControlKind kind) const;
  // Clones the template into a new element whose index is the highest
  // present + 1, puts it on top of the others and returns it (not visible).
  DesignControl *LoadControl(ControlKind kind);
  template <class T>
  T *Load() {
    return static_cast<T *>(LoadControl(T::Kind));
  }
  // Removes a control from its array and from the drawing order.
  void UnloadControl(DesignControl *control);
  // Undo keeps a removed control and puts it back later: TakeControl removes
  // it like UnloadControl but hands it over, with its place in the drawing
  // order; PutControl puts it back under its own index at that place (and
  // leaves `control` alone when that index is taken).
  std::unique_ptr<DesignControl> TakeControl(DesignControl *control, size_t *zPosition = nullptr);
  DesignControl *PutControl(std::unique_ptr<DesignControl> &&control, size_t zPosition);
  // The placed controls of a kind in index order (the template excluded).
  std::vector<DesignControl *> Controls(ControlKind kind) const;
  int ControlCount() const;
  bool Contains(const DesignObject *object) const;

  // Drawing order of the controls, back to front.
  const std::vector<DesignControl *> &ZOrder() const { return m_zOrder; }
  void BringToFront(DesignControl *control);
  void SendToBack(DesignControl *control);
  // A new drawing order: the same controls, rearranged.
  void SetZOrder(std::vector<DesignControl *> order);

  // --- selection frames
  int GetNewPictResize();  // a new hidden frame, index highest + 1
  ResizeFrame *Frame(int index);
  void UnloadFrame(int index);
  // Puts a frame back under its own index (undo).
  void PutFrame(const ResizeFrame &frame);

  // --- names, answered by an index the controls' Tags keep up to date
  // The first free default name of a kind ("Button1", ...), comparing names
  // of the same kind only and with regard to case; empty for a bad kind code.
  QString GetNewName(int kindCode) const;
  // True when another control on the panel carries the name (any case).
  bool CheckForDuplicateName(const QString &name,
                             const DesignObject *sourceControl = nullptr) const;

  // --- records
  // The record whose visible control is the given one, or null.
  clsControlDetails *FindRecord(const DesignObject *control) const;

 private:
  using ControlArray = std::map<int, std::unique_ptr<DesignControl>>;
  std::array<ControlArray, kControlKindCount> m_arrays;
  std::map<int, ResizeFrame> m_frames;
  std::vector<DesignControl *> m_zOrder;
  // Every control that enters the arrays is added, every one that leaves
  // is removed.
  NameIndex m_names;
};
