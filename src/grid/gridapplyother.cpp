// Applying an edited cell of a meter, meter-fader, clock or web browser.

#include <algorithm>

#include "grid/gridsupport.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/names.h"
#include "surface/frmpanel.h"

namespace {

const KindSet kMeters{ControlKind::Meter, ControlKind::MeterFader};

MeterSettings *meterOf(DesignControl &control) {
  if (auto *meter = As<DesignMeter>(&control)) return &meter->Meter;
  if (auto *fader = As<DesignMeterFader>(&control)) return &fader->Meter;
  return nullptr;
}

// The code of a list entry, or -1 for text that is none of them.
int listIndex(const QString &text, std::initializer_list<const char *> entries) {
  const QString lower = text.trimmed().toLower();
  int i = 0;
  for (const char *entry : entries) {
    if (lower == QLatin1String(entry)) return i;
    ++i;
  }
  return -1;
}

int renameControl(EditContext &ctx) {
  ctx.grid.setTextMatrix(CommonRow::Name, 1, CleanName(ctx.text));
  ctx.grid.LocName_AfterEdit(*ctx.record);
  return frmPanel::Properties;
}

}  // namespace

int ApplyMeterRow(EditContext &ctx) {
  const QString &text = ctx.text;
  auto forMeters = [&](KindSet kinds, auto step) {
    ForEachSelected(ctx.panel, kinds,
                    [&](DesignControl &c, clsControlDetails &r) { step(*meterOf(c), r, c); });
    return frmPanel::Properties;
  };
  switch (ctx.row) {
    case CommonRow::Name:
      return renameControl(ctx);
    case CommonRow::Caption:
      if (ctx.kind != GridKind::MeterFader) return 0;
      ctx.grid.LocCaption_AfterEdit(*ctx.record);
      return frmPanel::Properties;
    case MeterRow::SourceDest:
      return forMeters(kMeters, [&](MeterSettings &, clsControlDetails &r, DesignControl &) {
        r.MeterIsSource = text.toLower() != u"destination";
      });
    case MeterRow::RouterNumber:
    case MeterRow::IONumber: {
      qint32 n = 0;
      if (!ReadCellInt32(text, &n)) return 0;
      const bool router = ctx.row == MeterRow::RouterNumber;
      return forMeters(kMeters, [&](MeterSettings &, clsControlDetails &r, DesignControl &) {
        (router ? r.MeterRouterNumber : r.MeterIONumber) = n;
      });
    }
    case MeterRow::Scale:
    case MeterRow::Style: {
      const bool scale = ctx.row == MeterRow::Scale;
      const int code = scale ? listIndex(text, {"linear", "standard", "british"})
                             : listIndex(text, {"led", "gradient"});
      if (code < 0) return 0;
      return forMeters(kMeters, [&](MeterSettings &m, clsControlDetails &r, DesignControl &) {
        (scale ? r.MeterScale : r.MeterStyle) = code;
        (scale ? m.MeterScale : m.MeterStyle) = code;
      });
    }
    case MeterRow::LineColor:
      return forMeters(kMeters, [&](MeterSettings &m, clsControlDetails &r, DesignControl &) {
        r.LevelLineColor = StoredColorText(text);
        m.LevelLineColor = GetColorValue(text);
      });
    case MeterRow::DecayRate: {
      qint16 n = 0;
      if (!ReadCellInt16(text, &n)) return 0;
      return forMeters(kMeters, [&](MeterSettings &m, clsControlDetails &r, DesignControl &) {
        r.DecayRate = m.DecayRate = n;
      });
    }
    case MeterRow::CenterPadOrNominal: {
      if (ctx.kind == GridKind::Meter) {
        qint16 pad = 0;
        if (!ReadCellInt16(text, &pad)) return 0;
        return forMeters(kMeters, [&](MeterSettings &m, clsControlDetails &r, DesignControl &) {
          r.CenterPad = m.CenterPad = pad;
        });
      }
      double nominal = 0;
      if (!ReadCellNumber(text, &nominal)) return 0;
      return forMeters(
          {ControlKind::MeterFader}, [&](MeterSettings &, clsControlDetails &r, DesignControl &c) {
            r.FaderNominal = As<DesignMeterFader>(&c)->FaderNominal = static_cast<float>(nominal);
          });
    }
    case MeterRow::HideGainValue: {
      if (ctx.kind != GridKind::MeterFader) return 0;
      const bool hide = text.toLower() == u"true";
      return forMeters({ControlKind::MeterFader},
                       [&](MeterSettings &, clsControlDetails &r, DesignControl &c) {
                         r.HideGainValue = As<DesignMeterFader>(&c)->HideGainValue = hide;
                       });
    }
  }
  return 0;
}

int ApplyClockRow(EditContext &ctx) {
  const int row = ctx.row;
  if (row == CommonRow::Name) return renameControl(ctx);

  // Read the value once, before any clock changes.
  const QString &text = ctx.text;
  qint32 colour = 0, offset = 0;
  double size = 0;
  bool flag = false;
  switch (row) {
    case ClockRow::BackColor:
    case ClockRow::ForeColor:
    case ClockRow::LongHashColor:
    case ClockRow::ShortHashColor:
    case ClockRow::FaceBorderColor:
      colour = GetColorValue(text);
      break;
    case ClockRow::FontName:
      break;
    case ClockRow::FontSize:
      size = CellFontSize(text);
      break;
    case ClockRow::OffSet:
      if (!ReadCellInt32(text, &offset)) throw GridEditError("not a time offset");
      break;
    case ClockRow::FaceVisible:
    case ClockRow::Digital:
    case ClockRow::Military:
    case ClockRow::Stretch:
    case ClockRow::FontBold:
    case ClockRow::FontUnderline:
    case ClockRow::FontItalic:
    case ClockRow::FaceNumbers:
    case ClockRow::ElementHands:
      flag = CellBool(text);
      break;
    default:
      return 0;  // caption and picture change nothing by typing
  }

  ForEachSelected(ctx.panel, {ControlKind::Clock},
                  [&](DesignControl &control, clsControlDetails &r) {
                    auto &clock = *As<DesignClock>(&control);
                    switch (row) {
                      case ClockRow::BackColor:
                        clock.BackgroundColor = colour;
                        break;
                      case ClockRow::ForeColor:
                        clock.ForegroundColor = colour;
                        break;
                      case ClockRow::LongHashColor:
                        clock.LongHashColor = colour;
                        break;
                      case ClockRow::ShortHashColor:
                        clock.ShortHashColor = colour;
                        break;
                      case ClockRow::FaceBorderColor:
                        clock.FaceBorderColor = colour;
                        break;
                      case ClockRow::FaceVisible:
                        clock.FaceVisible = flag;
                        break;
                      case ClockRow::Military:
                        clock.Military = flag;
                        break;
                      case ClockRow::Stretch:
                        clock.BackgroundImageStretch = flag;
                        break;
                      case ClockRow::FontName:
                        clock.FontName = text;
                        break;
                      case ClockRow::FontSize:
                        clock.FontSize = size;
                        break;
                      case ClockRow::FontBold:
                        clock.FontBold = flag;
                        break;
                      case ClockRow::FontUnderline:
                        clock.FontUnderline = flag;
                        break;
                      case ClockRow::FontItalic:
                        clock.FontItalic = flag;
                        break;
                      case ClockRow::OffSet:
                        clock.OffSet = offset;
                        break;
                      case ClockRow::FaceNumbers:
                        clock.FaceNumbers = flag;
                        break;
                      case ClockRow::ElementHands:
                        clock.ElementHands = flag;
                        break;
                      case ClockRow::Digital: {
                        clock.Digital = flag;
                        if (ResizeFrame *frame = ctx.panel.model().Frame(r.lngPictResizeIndex)) {
                          frame->Width = frame->Height = std::min(clock.Width, clock.Height) + 150;
                        }
                        break;
                      }
                    }
                  });
  return frmPanel::Properties | (row == ClockRow::Digital ? frmPanel::Geometry : 0);
}

int ApplyWebRow(EditContext &ctx) {
  if (ctx.row == CommonRow::Name) return renameControl(ctx);
  if (ctx.row != WebRow::URL) return 0;
  ForEachSelected(ctx.panel, {ControlKind::WebBrowser},
                  [&](DesignControl &c, clsControlDetails &r) {
                    r.WebURL = ctx.text;
                    if (!r.WebURL.isEmpty()) As<DesignWebBrowser>(&c)->LocationURL = r.WebURL;
                  });
  return frmPanel::Properties;
}
