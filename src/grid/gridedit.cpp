// Starting an edit, and the grid's own key and mouse handling.

#include "grid/gridsupport.h"
#include "grid/mappingbuild.h"
#include "grid/propertygrid.h"
#include "surface/frmpanel.h"

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyDelete = 46;
constexpr int kRightButton = 2;

QString numberList(int first, int last) {
  QStringList entries;
  for (int n = first; n <= last; ++n) entries << QString::number(n);
  return entries.join(u'|');
}

QString userPanelModules() {
  QStringList entries;
  for (const char *module : {"USER#", "ACCESS#"})
    for (int n = 0; n <= 64; ++n) entries << QLatin1String(module) + QString::number(n);
  return entries.join(u'|');
}

}  // namespace

PropertyGrid::EditStart PropertyGrid::StartEdit(int row, int col) {
  const GridKind k = kind();
  const EditKind edit = GridRowEditKind(k, row);
  if (col != 1 || row >= Rows() || edit == EditKind::ReadOnly) {
    m_comboList.clear();
    return {false, QString()};
  }
  if (row == CommonRow::Name) m_CurrentName = TextMatrix(row, 1);

  switch (edit) {
    case EditKind::List:
      m_comboList = GridRowList(k, row);
      break;
    case EditKind::CellButton:
      m_comboList = QStringLiteral("...");
      break;
    case EditKind::Dynamic: {
      const HardwareRows hw = HardwareRowsOf(k);
      const QString type = StoredMapType(k, TextMatrix(hw.type, 1)).toLower();
      const bool module = row == hw.module;
      if (type == u"button" || type == u"label") {
        static const QString modules = userPanelModules();
        static const QString keys = QStringLiteral("DISP|") + numberList(1, 17);
        m_comboList = module ? modules : keys;
      } else if (type == u"gpiobutton") {
        m_comboList = module ? numberList(1, 8) : numberList(1, 5);
      } else {
        m_comboList.clear();  // an unknown type: free typing
      }
      break;
    }
    default:
      m_comboList.clear();
      break;
  }
  return {true, m_comboList};
}

void PropertyGrid::KeyDown(int keyCode, int /*shift*/) {
  if (keyCode != kKeyDelete && keyCode != kKeyBackspace) return;
  frmPanel *panel = m_panel;
  if (!panel) return;
  const int row = Row();
  switch (kind()) {
    case GridKind::Main: {
      PanelModel &model = panel->model();
      if (row == MainRow::Picture) {
        setTextMatrix(row, 1, QString());
        model.PanelDetails.strPicture.clear();
        model.PanelDetails.strPictureOrigPath.clear();
        panel->SetPanelGraphics();
      } else if (row == MainRow::GraphicsPath) {
        setTextMatrix(row, 1, QString());
        model.strDefaultPictureLoc.clear();
      } else {
        return;
      }
      break;
    }
    case GridKind::Button: {
      if (row < ButtonRow::PictureUpOn || row > ButtonRow::FlashPicture) return;
      setTextMatrix(row, 1, QString());
      if (row == ButtonRow::FlashPicture) return;  // shown only; nothing to clear
      ForEachSelected(*panel, {ControlKind::Button}, [&](DesignControl &, clsControlDetails &r) {
        switch (row) {
          case ButtonRow::PictureUpOn:
            r.PictureUpOn.clear();
            r.strPictureUpOnOrigPath.clear();
            break;
          case ButtonRow::PictureUpOff:
            r.PictureUpOff.clear();
            r.strPictureUpOffOrigPath.clear();
            break;
          case ButtonRow::PictureDownOn:
            r.PictureDownOn.clear();
            r.strPictureDownOnOrigPath.clear();
            break;
          case ButtonRow::PictureDownOff:
            r.PictureDownOff.clear();
            r.strPictureDownOffOrigPath.clear();
            break;
        }
        panel->SetControlGraphics(r);
      });
      break;
    }
    default:
      return;
  }
  // A cleared picture or folder is a change of the panel like any typed edit.
  panel->setNeedToSave(true);
  panel->notify(frmPanel::Properties);
}

void PropertyGrid::MouseDown(int button, int /*shift*/, int row) {
  m_columnCellButton = isColourRow(row);
  if (!m_columnCellButton || button != kRightButton) return;
  setCurrentCell(row, 1);
  CellButtonClick(row, 1);
}
