#pragma once

#include <QHash>
#include <QString>
#include <array>
#include <vector>

class DesignControl;
class DesignObject;
class NameIndex;

// Replaces each character not allowed in control and panel names by "_".
QString cleanName(const QString &text);

// Why a panel or control name cannot be stored, or empty when it can: a name
// with characters the files' code page lacks would be written as "?" and
// meet other names so written.
QString nameStorageProblem(const QString &name);

// The successor of a name, caption or mapping text for incremental edits:
// "Mic 9" -> "Mic 10", "Btn007" -> "Btn8", "A" -> "A1", "" -> "1".
// A digit run whose successor does not fit a 32-bit integer gives an empty
// text ("X2147483647" -> "").
QString nextIncrementalName(const QString &text);

// The name of a control or panel (the Tag of its visible control or canvas).
// It reads as a QString; assigning it keeps the name index of the control's
// panel up to date, so every piece of code that names a control simply
// assigns Tag. The text cannot be edited in place: assign a new name.
class ObjectName : public QString {
 public:
  ObjectName() = default;
  // A copy belongs to no index (a cloned control is entered by its panel).
  ObjectName(const ObjectName &other) : QString(other) {}
  ObjectName &operator=(const ObjectName &other) {
    assign(other);
    return *this;
  }
  ObjectName &operator=(const QString &value) {
    assign(value);
    return *this;
  }
  ObjectName &operator=(const char *value) {
    assign(QString::fromUtf8(value));
    return *this;
  }

  void clear() = delete;
  void append() = delete;
  void prepend() = delete;
  void insert() = delete;
  void remove() = delete;
  void replace() = delete;
  void fill() = delete;
  void resize() = delete;
  void truncate() = delete;
  void chop() = delete;
  void swap() = delete;
  void setNum() = delete;
  void data() = delete;
  void operator+=(const QString &) = delete;

 private:
  friend class NameIndex;
  void assign(const QString &value);
  NameIndex *m_index = nullptr;
  DesignControl *m_control = nullptr;
};

// The names of the controls loaded on a panel, kept as they change, so that
// the duplicate test and a fresh default name take constant time instead of
// a look at every control.
class NameIndex {
 public:
  NameIndex() = default;
  NameIndex(const NameIndex &) = delete;
  NameIndex &operator=(const NameIndex &) = delete;

  // A control joins or leaves the panel.
  void add(DesignControl &control);
  void remove(DesignControl &control);

  // Whether a control other than `except` carries the name, in any case.
  bool contains(const QString &name, const DesignObject *except) const;
  // The stem of the kind followed by the lowest number from 1 to 32767 that
  // no control of that kind carries exactly (case counts); empty when all
  // are taken.
  QString firstFreeName(int kindCode, const QString &stem) const;

 private:
  friend class ObjectName;
  void insert(const DesignControl *control, const QString &name);
  void erase(const DesignControl *control, const QString &name);

  static constexpr int kKinds = 8;
  QMultiHash<QString, const DesignControl *> m_byLowerName;
  struct Numbers {
    std::vector<quint32> count;       // how many controls carry stem + number
    mutable int lowestMaybeFree = 1;  // no number below it is free
  };
  std::array<Numbers, kKinds> m_numbers;
};
