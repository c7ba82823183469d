#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <initializer_list>
#include <utility>

// Looks element names up in a fixed table of lower-case ASCII names, in any
// letter case, without building a lower-case copy of each name read: the
// reader meets the same few dozen names hundreds of thousands of times.
// A name is compared as its lower-case form (QString::toLower), so the rare
// name outside ASCII takes that slower way.
template <class Value>
class NameTable {
 public:
  NameTable(std::initializer_list<std::pair<const char *, Value>> entries, Value none)
      : m_none(none) {
    for (const auto &[name, value] : entries) {
      const int length = static_cast<int>(qstrlen(name));
      size_t slot = hash(name, length) % kSlots;
      while (m_slots[slot].name) slot = (slot + 1) % kSlots;
      m_slots[slot] = {name, length, value};
    }
  }

  Value find(QStringView name) const {
    if (name.size() > kMaxLength) return m_none;
    char lower[kMaxLength];
    const int length = static_cast<int>(name.size());
    for (int k = 0; k < length; ++k) {
      const char16_t c = name[k].unicode();
      if (c >= 0x80) return findSlowly(name);
      lower[k] = static_cast<char>(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
    }
    return findLower(lower, length);
  }

 private:
  static constexpr int kMaxLength = 32;
  static constexpr size_t kSlots = 256;

  static quint32 hash(const char *text, int length) {
    quint32 h = 2166136261u;
    for (int k = 0; k < length; ++k) h = (h ^ static_cast<unsigned char>(text[k])) * 16777619u;
    return h;
  }

  Value findLower(const char *lower, int length) const {
    for (size_t slot = hash(lower, length) % kSlots; m_slots[slot].name;
         slot = (slot + 1) % kSlots) {
      const Slot &s = m_slots[slot];
      if (s.length == length && std::equal(lower, lower + length, s.name)) return s.value;
    }
    return m_none;
  }

  Value findSlowly(QStringView name) const {
    const QByteArray lower = name.toString().toLower().toUtf8();
    if (lower.size() > kMaxLength) return m_none;
    return findLower(lower.constData(), static_cast<int>(lower.size()));
  }

  struct Slot {
    const char *name = nullptr;
    int length = 0;
    Value value{};
  };
  std::array<Slot, kSlots> m_slots{};
  Value m_none;
};
