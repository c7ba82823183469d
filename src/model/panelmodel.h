#pragma once

#include <QSet>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "model/designcontrol.h"
#include "model/panelrecord.h"
#include "model/textfile.h"

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
  PanelRecord panelRecord;
  PanelCanvas canvas;
  QString caption;       // the window caption
  QString documentPath;  // the file or server path of the panel, empty for a new one
  qint32 width = 9600;   // outer window size in twips
  qint32 height = 7200;
  QString defaultPictureFolder;
  QString lastDirectory;  // folder of the last picture chosen or folder browsed

  // --- control arrays; element 0 of each is the invisible template
  DesignControl *templateControl(ControlKind kind) const;
  // Clones the template into a new element whose index is the highest
  // present + 1, puts it on top of the others and returns it (not visible).
  DesignControl *loadControl(ControlKind kind);
  template <class T>
  T *load() {
    return static_cast<T *>(loadControl(T::Kind));
  }
  // Removes a control from its array and from the drawing order.
  void unloadControl(DesignControl *control);
  // Undo keeps a removed control and puts it back later: takeControl removes
  // it like unloadControl but hands it over, with its place in the drawing
  // order; putControl puts it back under its own index at that place (and
  // leaves `control` alone when that index is taken).
  std::unique_ptr<DesignControl> takeControl(DesignControl *control, size_t *zPosition = nullptr);
  DesignControl *putControl(std::unique_ptr<DesignControl> &&control, size_t zPosition);
  // The placed controls of a kind in index order (the template excluded).
  std::vector<DesignControl *> Controls(ControlKind kind) const;
  int controlCount() const;
  bool contains(const DesignObject *object) const;

  // Drawing order of the controls, back to front.
  const std::vector<DesignControl *> &zOrder() const { return m_zOrder; }
  void bringToFront(DesignControl *control);
  void sendToBack(DesignControl *control);
  // A new drawing order: the same controls, rearranged.
  void setZOrder(std::vector<DesignControl *> order);

  // --- selection frames
  int newFrameIndex();  // a new hidden frame, index highest + 1
  ResizeFrame *frame(int index);
  void unloadFrame(int index);
  // Puts a frame back under its own index (undo).
  void putFrame(const ResizeFrame &frame);

  // --- names, answered by an index the controls' Tags keep up to date
  // The first free default name of a kind ("Button1", ...), comparing names
  // of the same kind only and with regard to case; empty for a bad kind code.
  QString unusedName(int kindCode) const;
  // True when another control on the panel carries the name (any case).
  bool checkForDuplicateName(const QString &name,
                             const DesignObject *sourceControl = nullptr) const;

  // --- records
  // The record whose visible control is the given one, or null.
  ControlRecord *findRecord(const DesignObject *control) const;

  // --- the file behind the panel
  // The hardware-map internal names (lower case) the panel's controls had
  // when it was read and at each save: a save removes those the panel no
  // longer has, so that a renamed panel or control leaves no entries behind.
  const QSet<QString> &mapEntriesSinceOpened() const { return m_mapEntries; }
  // Adds the internal names the panel's controls have now.
  void rememberMapEntries();
  // The file the panel was read from or last saved to, as it was then: a
  // save over that file asks first when someone else changed it since.
  void rememberFile(const QString &path, const FileStamp &stamp);
  // The stamp kept of `path`, when the panel was read from or saved to it.
  std::optional<FileStamp> fileStamp(const QString &path) const;
  // True when the panel was read from or saved to `path` in this session
  // and the file's bytes changed since.
  bool fileChangedOnDisk(const QString &path) const;

 private:
  using ControlArray = std::map<int, std::unique_ptr<DesignControl>>;
  std::array<ControlArray, kControlKindCount> m_arrays;
  std::map<int, ResizeFrame> m_frames;
  std::vector<DesignControl *> m_zOrder;
  // Every control that enters the arrays is added, every one that leaves
  // is removed.
  NameIndex m_names;
  QSet<QString> m_mapEntries;
  QString m_filePath;  // absolute; empty until read or saved
  FileStamp m_fileStamp;
};
