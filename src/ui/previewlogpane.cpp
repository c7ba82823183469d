#include "ui/previewlogpane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "surface/previewsession.h"
#include "ui/plaintext.h"

PreviewLogPane::PreviewLogPane(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("previewLog"));
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->setSpacing(2);
  auto *header = new QHBoxLayout;
  auto *title = plainLabel(tr("Preview - commands a click would send (nothing is sent)"), this);
  header->addWidget(title, 1);
  m_clear = new QPushButton(tr("Clear"), this);
  m_clear->setObjectName(QStringLiteral("previewLogClear"));
  m_clear->setFocusPolicy(Qt::NoFocus);
  header->addWidget(m_clear);
  layout->addLayout(header);
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("previewLogList"));
  m_list->setItemDelegate(new PlainTextDelegate(m_list));
  m_list->setFocusPolicy(Qt::NoFocus);
  m_list->setUniformItemSizes(true);
  m_list->setMinimumHeight(40);
  layout->addWidget(m_list, 1);
  connect(m_clear, &QPushButton::clicked, this, [this] {
    if (m_session) m_session->clearLog();
  });
}

void PreviewLogPane::setSession(PreviewSession *session) {
  if (m_session) disconnect(m_session, nullptr, this, nullptr);
  m_session = session;
  m_list->clear();
  if (!session) return;
  for (const PreviewCommand &command : session->log()) append(command);
  connect(session, &PreviewSession::commandLogged, this, &PreviewLogPane::append);
  connect(session, &PreviewSession::logCleared, m_list, &QListWidget::clear);
  connect(session, &QObject::destroyed, this, [this] { m_session = nullptr; });
}

void PreviewLogPane::append(const PreviewCommand &command) {
  // The session keeps only the newest commands; so does the pane.
  while (m_list->count() >= PreviewSession::kLogLimit) delete m_list->takeItem(0);
  m_list->addItem(command.text());
  m_list->scrollToBottom();
}
