#pragma once

#include <QHash>
#include <QObject>
#include <functional>

class QWidget;
class PanelModel;
class PanelCanvasView;
class DesignWebBrowser;

// Shows a live embedded browser over the web browser controls of a canvas
// when the program is built with QtWebEngine and runs on a real display.
// The browsers only display their page: mouse and keys stay with the canvas,
// so the control is selected, moved and resized like any other. A live page
// never covers a control that the drawing order puts above its browser:
// such a browser shows the painter's placeholder (a browser frame with the
// address) instead, unless its live page was asked for (showLivePage).
class WebBrowserHost : public QObject {
  Q_OBJECT
 public:
  WebBrowserHost(PanelCanvasView &canvas, PanelModel &model);
  ~WebBrowserHost() override;

  // True when live browsers can be shown in this process.
  static bool available();
  // Program start, before the application object exists: what the engine needs.
  static void prepareProcess();
  // Makes the live views with this factory instead of the engine, on any
  // platform (tests); an empty factory restores the engine.
  using ViewFactory = std::function<QWidget *(QWidget *parent)>;
  static void setViewFactory(ViewFactory factory);

  // Follows the model: creates, places, navigates, shows or hides and
  // removes the live views.
  void sync();
  // Shows this browser's live page over everything until the next call
  // (null: none).
  void showLivePage(const DesignWebBrowser *browser);
  // Interactive live pages take the mouse and the keys (a previewed panel);
  // otherwise they only display, and leaving interaction loads each page's
  // own address again.
  void setInteractive(bool interactive);
  // The live view of a browser, null when it has none.
  QWidget *viewOf(const DesignWebBrowser *browser) const { return m_views.value(browser); }

 private:
  QWidget *makeView();
  void navigate(QWidget *view, const QString &address);

  PanelCanvasView &m_canvas;
  PanelModel &m_model;
  QHash<const DesignWebBrowser *, QWidget *> m_views;
  const DesignWebBrowser *m_requested = nullptr;
  bool m_interactive = false;
};
