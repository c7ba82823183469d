// Applying an edited cell of a button or a label to every selected control
// that suits the row.

#include "grid/gridsupport.h"
#include "grid/mappingbuild.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/names.h"
#include "surface/frmpanel.h"

namespace {

const KindSet kButtonsAndLabels{ControlKind::Button, ControlKind::Label};

FontSpec *fontOf(DesignControl &control) {
  if (auto *button = As<DesignButton>(&control)) return &button->Font;
  if (auto *label = As<DesignLabel>(&control)) return &label->Font;
  return nullptr;
}

// State and flash are stored in the shown control's record and copied to
// every selected button and label; each then shows its own colours again.
int applyStateOrFlash(EditContext &ctx, bool isState) {
  const bool off = ctx.text.toLower() == u"off";
  ctx.grid.setTextMatrix(ctx.row, 1, OnOffText(!off));
  auto apply = [&](DesignControl &control, clsControlDetails &record) {
    if (isState)
      record.State = OnOffText(!off);
    else
      record.Flash = !off;
    // A control that stops flashing shows its state's colour once.
    if (isState || off) SetBackColor(control, StateBackColor(record));
    ctx.panel.SetControlGraphics(record);
  };
  apply(static_cast<DesignControl &>(*ctx.shown), *ctx.record);
  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, clsControlDetails &r) {
    if (&r != ctx.record) apply(c, r);
  });
  return frmPanel::Properties;
}

int applyMapType(EditContext &ctx, const HardwareRows &hw) {
  const QString type = StoredMapType(ctx.kind, ctx.text);
  const bool gpio = IsGpioMapType(type);
  const QString port = DefaultHostPort(type);
  ctx.grid.setTextMatrix(hw.hostPort, 1, port);
  if (ctx.kind == GridKind::Button) {
    ctx.grid.setTextMatrix(
        hw.module, 0, gpio ? QStringLiteral("GPIO Port") : QStringLiteral("User Panel Module"));
    ctx.grid.setTextMatrix(
        hw.pin, 0, gpio ? QStringLiteral("GPIO Circuit") : QStringLiteral("User Panel Button"));
  }
  for (int row : {hw.module, hw.pin, hw.code}) ctx.grid.setTextMatrix(row, 1, QString());

  auto apply = [&](DesignControl &, clsControlDetails &record) {
    record.HWMapType = type;
    record.HWMapHostPort = port;
    record.HWMapAoipSysName.clear();
  };
  apply(static_cast<DesignControl &>(*ctx.shown), *ctx.record);
  ForEachSelected(ctx.panel, kButtonsAndLabels, apply);
  return frmPanel::Properties;
}

// A new module (GPIO: port) for the shown control and every selected button
// and label; each keeps its own button (circuit) number.
int applyModule(EditContext &ctx, const HardwareRows &hw) {
  const QString type = ctx.record->HWMapType;
  const QString module = ctx.grid.TextMatrix(hw.module, 1);
  const QString button = ctx.grid.TextMatrix(hw.pin, 1);
  const auto code = BuildMappingCode(type, module, button);
  if (!code) throw GridEditError("button number out of range");
  ctx.record->HWMapAoipSysName = *code;
  ctx.grid.setTextMatrix(hw.code, 1, *code);

  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &, clsControlDetails &r) {
    if (&r == ctx.record) return;
    r.HWMapType = type;
    const auto moved = ReplaceMappingModule(type, r.HWMapAoipSysName, module, button);
    if (!moved) throw GridEditError("button number out of range");
    r.HWMapAoipSysName = *moved;
  });
  return frmPanel::Properties;
}

int applyFontRow(EditContext &ctx) {
  const int row = ctx.row;
  double size = 0;
  bool flag = false;
  if (row == ButtonRow::FontSize)
    size = CellFontSize(ctx.text);
  else
    flag = CellBool(ctx.text);
  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &control, clsControlDetails &) {
    FontSpec *font = fontOf(control);
    switch (row) {
      case ButtonRow::FontSize:
        font->size = size;
        break;
      case ButtonRow::FontBold:
        font->bold = flag;
        break;
      case ButtonRow::FontUnderline:
        font->underline = flag;
        break;
      case ButtonRow::FontItalic:
        font->italic = flag;
        break;
    }
  });
  return frmPanel::Properties;
}

// Rows both kinds share (2-16).
int applyCommonRow(EditContext &ctx) {
  switch (ctx.row) {
    case CommonRow::Name:
      ctx.grid.setTextMatrix(CommonRow::Name, 1, CleanName(ctx.text));
      ctx.grid.LocName_AfterEdit(*ctx.record);
      return frmPanel::Properties;
    case CommonRow::Caption:
      ctx.grid.LocCaption_AfterEdit(*ctx.record);
      return frmPanel::Properties;
    case ButtonRow::BackColorOff:
    case ButtonRow::BackColorOn:
      ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, clsControlDetails &r) {
        (ctx.row == ButtonRow::BackColorOff ? r.BackColorOff : r.BackColorOn) =
            StoredColorText(ctx.text);
        SetBackColor(c, StateBackColor(r));
      });
      return frmPanel::Properties;
    case ButtonRow::FontSize:
    case ButtonRow::FontBold:
    case ButtonRow::FontUnderline:
    case ButtonRow::FontItalic:
      return applyFontRow(ctx);
    case ButtonRow::State:
      return applyStateOrFlash(ctx, true);
  }
  return 0;
}

int applyButtonRow(EditContext &ctx) {
  const HardwareRows hw = HardwareRowsOf(GridKind::Button);
  const int row = ctx.row;
  auto forAll = [&](KindSet kinds, auto step) {
    ForEachSelected(ctx.panel, kinds, [&](DesignControl &, clsControlDetails &r) { step(r); });
    return frmPanel::Properties;
  };
  const KindSet buttons{ControlKind::Button};
  switch (row) {
    case ButtonRow::OnClick:
      return forAll(KindSet::All(), [&](auto &r) { r.Click = ctx.text; });
    case ButtonRow::OnMouseDown:
      return forAll(KindSet::All(), [&](auto &r) { r.MouseDown = ctx.text; });
    case ButtonRow::OnMouseUp:
      return forAll(KindSet::All(), [&](auto &r) { r.MouseUp = ctx.text; });
    case ButtonRow::Flash:
      return applyStateOrFlash(ctx, false);
    case ButtonRow::Enabled:
      return forAll(KindSet::All(), [&](auto &r) { r.Enabled = ctx.text.toLower() != u"false"; });
    case ButtonRow::MapRouter:
      return forAll(buttons, [&](auto &r) { r.MapRouter = ctx.text; });
    case ButtonRow::MapSource:
      return forAll(buttons, [&](auto &r) { r.MapSource = ctx.text; });
    case ButtonRow::MapDestination:
      return forAll(buttons, [&](auto &r) { r.MapDestination = ctx.text; });
    case ButtonRow::MapType:
      return applyMapType(ctx, hw);
    case ButtonRow::HostIP:
      return forAll(kButtonsAndLabels, [&](auto &r) { r.HWMapHostIP = ctx.text; });
    case ButtonRow::HostPort:
      return forAll(kButtonsAndLabels, [&](auto &r) { r.HWMapHostPort = ctx.text; });
    case ButtonRow::Module:
      return applyModule(ctx, hw);
    case ButtonRow::Pin:
      ctx.grid.LocMapPin_AfterEdit(*ctx.record);
      return frmPanel::Properties;
  }
  return applyCommonRow(ctx);
}

int applyLabelRow(EditContext &ctx) {
  const HardwareRows hw = HardwareRowsOf(GridKind::Label);
  switch (ctx.row) {
    case ButtonRow::ForeColor:
      ForEachSelected(ctx.panel, {ControlKind::Label}, [&](DesignControl &c, clsControlDetails &r) {
        r.ForeColor = StoredColorText(ctx.text);
        As<DesignLabel>(&c)->ForeColor = GetColorValue(ctx.text);
      });
      return frmPanel::Properties;
    case LabelRow::Flash:
      return applyStateOrFlash(ctx, false);
    case LabelRow::MapType:
      return applyMapType(ctx, hw);
    case LabelRow::HostIP:
      ForEachSelected(ctx.panel, kButtonsAndLabels,
                      [&](DesignControl &, clsControlDetails &r) { r.HWMapHostIP = ctx.text; });
      return frmPanel::Properties;
    case LabelRow::HostPort:
      ForEachSelected(ctx.panel, kButtonsAndLabels,
                      [&](DesignControl &, clsControlDetails &r) { r.HWMapHostPort = ctx.text; });
      return frmPanel::Properties;
    case LabelRow::Module:
      return applyModule(ctx, hw);
    case LabelRow::Pin:
      ctx.grid.LocMapPin_AfterEdit(*ctx.record);
      return frmPanel::Properties;
  }
  return applyCommonRow(ctx);
}

}  // namespace

int ApplyButtonLabelRow(EditContext &ctx) {
  return ctx.kind == GridKind::Button ? applyButtonRow(ctx) : applyLabelRow(ctx);
}
