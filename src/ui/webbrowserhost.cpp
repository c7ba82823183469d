#include "ui/webbrowserhost.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibrary>
#include <QSet>
#include <QUrl>
#include <QWidget>

#include "model/panelmodel.h"
#include "ui/panelview.h"

namespace {
WebBrowserHost::ViewFactory &viewFactory() {
  static WebBrowserHost::ViewFactory factory;
  return factory;
}

#ifdef TESSARY_HAS_WEBENGINE
// The web view module: beside the program (build tree), then in the
// installed tree's library folder.
QString webViewModule() {
  const QString programFolder = QCoreApplication::applicationDirPath();
  for (const QString &path :
       {programFolder + QStringLiteral("/tessary-webview.so"),
        programFolder + QStringLiteral("/../" TESSARY_WEBVIEW_DIR "/tessary-webview.so")})
    if (QFileInfo(path).isFile()) return path;
  return QString();
}

// Loads the module on first use; null when it cannot be loaded.
QWidget *createEngineView(QWidget *parent) {
  using Create = QWidget *(*)(QWidget *);
  static const Create create = [] {
    const QString path = webViewModule();
    return path.isEmpty()
               ? nullptr
               : reinterpret_cast<Create>(QLibrary::resolve(path, "tessaryCreateWebView"));
  }();
  return create ? create(parent) : nullptr;
}
#endif

// The address a live page is told to show (the engine view's "url").
void loadPage(QWidget *view, const QUrl &url) {
  if (view->metaObject()->indexOfProperty("url") >= 0) view->setProperty("url", url);
}
}  // namespace

WebBrowserHost::WebBrowserHost(PanelCanvasView &canvas, PanelModel &model)
    : QObject(&canvas), m_canvas(canvas), m_model(model) {}

WebBrowserHost::~WebBrowserHost() = default;

void WebBrowserHost::setViewFactory(ViewFactory factory) { viewFactory() = std::move(factory); }

bool WebBrowserHost::available() {
  if (viewFactory()) return true;
#ifdef TESSARY_HAS_WEBENGINE
  if (!qEnvironmentVariableIsEmpty("TESSARY_NO_WEBENGINE")) return false;
  const QString platform = QGuiApplication::platformName();
  return (platform == QLatin1String("xcb") || platform == QLatin1String("wayland")) &&
         !webViewModule().isEmpty();
#else
  return false;
#endif
}

void WebBrowserHost::prepareProcess() {
#ifdef TESSARY_HAS_WEBENGINE
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The engine refuses to start its sandbox for root; it must be told.
  if (::geteuid() == 0) {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--no-sandbox"))
      qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
  }
#endif
}

QWidget *WebBrowserHost::makeView() {
  QWidget *view = nullptr;
  if (viewFactory()) view = viewFactory()(&m_canvas);
#ifdef TESSARY_HAS_WEBENGINE
  if (!view) view = createEngineView(&m_canvas);
#endif
  if (!view) return nullptr;
  view->setAttribute(Qt::WA_TransparentForMouseEvents, !m_interactive);
  view->setFocusPolicy(m_interactive ? Qt::StrongFocus : Qt::NoFocus);
  return view;
}

void WebBrowserHost::setInteractive(bool interactive) {
  const bool leaving = m_interactive && !interactive;
  m_interactive = interactive;
  for (QWidget *view : std::as_const(m_views)) {
    view->setAttribute(Qt::WA_TransparentForMouseEvents, !interactive);
    view->setFocusPolicy(interactive ? Qt::StrongFocus : Qt::NoFocus);
    // Links followed and pages scrolled by hand end with the interaction:
    // the browser shows its own address again.
    if (leaving) loadPage(view, view->property("tessaryUrl").toUrl());
  }
}

void WebBrowserHost::navigate(QWidget *view, const QString &address) {
  const QUrl url(address.isEmpty() ? QStringLiteral("about:blank") : address);
  if (view->property("tessaryUrl").toUrl() == url) return;
  view->setProperty("tessaryUrl", url);
  loadPage(view, url);
}

void WebBrowserHost::showLivePage(const DesignWebBrowser *browser) {
  if (browser == m_requested) return;
  m_requested = browser;
  sync();
}

void WebBrowserHost::sync() {
  if (!available()) return;
  const auto &order = m_model.zOrder();
  QSet<const DesignWebBrowser *> present;
  for (size_t i = 0; i < order.size(); ++i) {
    auto *browser = controlCast<DesignWebBrowser>(order[i]);
    if (!browser || !browser->visible) continue;
    present.insert(browser);
    QWidget *view = m_views.value(browser);
    if (!view) {
      if (!(view = makeView())) return;
      m_views.insert(browser, view);
    }
    const QRectF area =
        m_canvas.pixelRect(browser->left, browser->top, browser->width, browser->height);
    const QRect r(qRound(area.left()), qRound(area.top()), qMax(1, qRound(area.width())),
                  qMax(1, qRound(area.height())));
    if (view->geometry() != r) view->setGeometry(r);
    navigate(view, browser->locationURL);

    // A control drawn above the browser that overlaps it would be hidden by
    // the live page: the painted browser shows then, with the control on it.
    bool covered = false;
    for (size_t j = i + 1; j < order.size() && !covered; ++j) {
      const DesignControl *c = order[j];
      covered = c->visible && c->left < qint64(browser->left) + browser->width &&
                qint64(c->left) + c->width > browser->left &&
                c->top < qint64(browser->top) + browser->height &&
                qint64(c->top) + c->height > browser->top;
    }
    if (browser == m_requested) {
      view->show();
      view->raise();
    } else {
      view->setVisible(!covered);
    }
  }
  if (m_requested && !present.contains(m_requested)) m_requested = nullptr;
  for (auto it = m_views.begin(); it != m_views.end();) {
    if (!present.contains(it.key())) {
      it.value()->deleteLater();
      it = m_views.erase(it);
    } else {
      ++it;
    }
  }
}
