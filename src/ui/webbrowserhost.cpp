#include "ui/webbrowserhost.h"

#include <QGuiApplication>
#include <QSet>
#include <QUrl>
#include <QWidget>
#include <unistd.h>

#include "model/panelmodel.h"
#include "ui/qtconvert.h"

#ifdef TESSARY_HAS_WEBENGINE
#include <QWebEngineView>
#endif

WebBrowserHost::WebBrowserHost(QWidget &canvas, PanelModel &model)
    : QObject(&canvas), m_canvas(canvas), m_model(model) {}

WebBrowserHost::~WebBrowserHost() = default;

bool WebBrowserHost::available() {
#ifdef TESSARY_HAS_WEBENGINE
  if (!qEnvironmentVariableIsEmpty("TESSARY_NO_WEBENGINE")) return false;
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform == QLatin1String("wayland");
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
    if (!flags.contains("--no-sandbox")) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
  }
#endif
}

void WebBrowserHost::sync() {
#ifdef TESSARY_HAS_WEBENGINE
  if (!available()) return;
  QSet<const DesignWebBrowser *> present;
  for (DesignControl *c : m_model.Controls(ControlKind::WebBrowser)) {
    auto *browser = static_cast<DesignWebBrowser *>(c);
    if (!browser->Visible) continue;
    present.insert(browser);
    auto *view = static_cast<QWebEngineView *>(m_views.value(browser));
    if (!view) {
      view = new QWebEngineView(&m_canvas);
      view->setAttribute(Qt::WA_TransparentForMouseEvents);
      view->setFocusPolicy(Qt::NoFocus);
      m_views.insert(browser, view);
    }
    const QRect r(qRound(TwipsToPixels(c->Left)), qRound(TwipsToPixels(c->Top)),
                  qMax(1, qRound(TwipsToPixels(c->Width))), qMax(1, qRound(TwipsToPixels(c->Height))));
    if (view->geometry() != r) view->setGeometry(r);
    const QUrl url(browser->LocationURL.isEmpty() ? QStringLiteral("about:blank") : browser->LocationURL);
    if (view->property("tessaryUrl").toUrl() != url) {
      view->setProperty("tessaryUrl", url);
      view->load(url);
    }
    view->show();
  }
  for (auto it = m_views.begin(); it != m_views.end();) {
    if (!present.contains(it.key())) {
      it.value()->deleteLater();
      it = m_views.erase(it);
    } else {
      ++it;
    }
  }
#endif
}
