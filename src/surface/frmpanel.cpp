#include "surface/frmpanel.h"

frmPanel::frmPanel(Ui &ui, QObject *parent) : QObject(parent), m_ui(ui) {
  objCurrentControl = &m_model.pictMain;
}

frmPanel::~frmPanel() = default;

void frmPanel::setNeedToSave(bool value) {
  m_needToSave = value;
  emit needToSaveChanged(value);
}

void frmPanel::setCaption(const QString &caption) {
  m_model.Caption = caption;
  notify(Caption);
}
