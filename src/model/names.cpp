#include "model/names.h"

#include <limits>

#include "model/codepage.h"
#include "model/designcontrol.h"

QString cleanName(const QString &text) {
  static const QString kNotAllowed = QStringLiteral(" .,[]{}()&*#'\"%$\\/");
  QString out = text;
  for (QChar &c : out)
    if (kNotAllowed.contains(c)) c = u'_';
  return out;
}

namespace {
// The decimal digit run read as a 32-bit signed integer, plus one; empty
// when the run or its successor does not fit.
QString incremented(QStringView digits) {
  bool ok = false;
  const qlonglong n = digits.toLongLong(&ok);
  if (!ok || n >= std::numeric_limits<qint32>::max()) return QString();
  return QString::number(n + 1);
}
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

constexpr int kMaxDefaultNumber = 32767;

// The number of a default name ("Button12" of stem "Button" gives 12): the
// stem exactly, then a number from 1 to 32767 as QString::number writes it.
int defaultNumber(const QString &name, const QString &stem) {
  if (name.size() <= stem.size() || name.size() > stem.size() + 5 || !name.startsWith(stem))
    return 0;
  int n = 0;
  for (qsizetype k = stem.size(); k < name.size(); ++k) {
    if (!isAsciiDigit(name[k]) || (n == 0 && name[k] == u'0')) return 0;
    n = n * 10 + (name[k].unicode() - u'0');
  }
  return n <= kMaxDefaultNumber ? n : 0;
}

int kindCode(const DesignControl *control) { return static_cast<int>(control->kind()); }
}  // namespace

QString nameStorageProblem(const QString &name) {
  const QString outside = charactersOutsideWindows1252(name);
  if (outside.isEmpty()) return QString();
  return QStringLiteral("The name \"%1\" holds characters a panel file cannot store (%2).")
      .arg(name, outside);
}

QString nextIncrementalName(const QString &text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return QStringLiteral("1");
  if (!isAsciiDigit(t.back())) return t + QStringLiteral("1");
  int i = t.size() - 1;
  while (i >= 0 && isAsciiDigit(t[i])) --i;
  const QString number = incremented(QStringView(t).mid(i + 1));
  if (number.isEmpty()) return QString();
  return t.left(i + 1) + number;
}

void ObjectName::assign(const QString &value) {
  if (m_index && m_control) {
    m_index->erase(m_control, *this);
    m_index->insert(m_control, value);
  }
  QString::operator=(value);
}

void NameIndex::add(DesignControl &control) {
  ObjectName &name = control.tag;
  name.m_index = this;
  name.m_control = &control;
  insert(&control, name);
}

void NameIndex::remove(DesignControl &control) {
  ObjectName &name = control.tag;
  if (name.m_index != this) return;
  erase(&control, name);
  name.m_index = nullptr;
  name.m_control = nullptr;
}

void NameIndex::insert(const DesignControl *control, const QString &name) {
  m_byLowerName.insert(name.toLower(), control);
  const int kind = kindCode(control);
  if (kind < 0 || kind >= kKinds) return;
  if (const int n = defaultNumber(name, nameStem(control->kind()))) {
    std::vector<quint32> &count = m_numbers[kind].count;
    if (count.size() <= size_t(n)) count.resize(size_t(n) + 1);
    ++count[size_t(n)];
  }
}

void NameIndex::erase(const DesignControl *control, const QString &name) {
  m_byLowerName.remove(name.toLower(), control);
  const int kind = kindCode(control);
  if (kind < 0 || kind >= kKinds) return;
  const int n = defaultNumber(name, nameStem(control->kind()));
  if (!n) return;
  Numbers &numbers = m_numbers[kind];
  if (size_t(n) >= numbers.count.size() || numbers.count[size_t(n)] == 0) return;
  if (--numbers.count[size_t(n)] == 0) numbers.lowestMaybeFree = qMin(numbers.lowestMaybeFree, n);
}

bool NameIndex::contains(const QString &name, const DesignObject *except) const {
  for (auto [it, end] = m_byLowerName.equal_range(name.toLower()); it != end; ++it)
    if (*it != except) return true;
  return false;
}

QString NameIndex::firstFreeName(int kindCode, const QString &stem) const {
  if (kindCode < 0 || kindCode >= kKinds) return QString();
  const Numbers &numbers = m_numbers[kindCode];
  for (int n = numbers.lowestMaybeFree; n <= kMaxDefaultNumber; ++n) {
    if (size_t(n) < numbers.count.size() && numbers.count[size_t(n)] > 0) continue;
    numbers.lowestMaybeFree = n;
    return stem + QString::number(n);
  }
  numbers.lowestMaybeFree = kMaxDefaultNumber + 1;
  return QString();
}
