#include "ui/logindialog.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/serverdialogsupport.h"

LoginDialog::LoginDialog(frmLogin &logic, QWidget *parent) : QDialog(parent), m_logic(logic) {
  setObjectName(QStringLiteral("frmLogin"));
  setWindowTitle(frmLogin::Caption);
  setModal(false);
  UseDialogFont(this);

  auto *prompt = new QLabel(tr("Please Enter your user name and password."), this);
  prompt->setObjectName(QStringLiteral("Label3"));
  auto *form = new QFormLayout;
  m_user = AddLine(form, QStringLiteral("LoginName"), tr("User Name"),
                   [this](const QString &t) { m_logic.LoginName = t; });
  m_password = AddLine(form, QStringLiteral("LoginPassword"), tr("Password"),
                       [this](const QString &t) { m_logic.LoginPassword = t; });
  m_password->setEchoMode(QLineEdit::Password);
  auto *loginButton = new QPushButton(tr("&Login"), this);
  loginButton->setObjectName(QStringLiteral("LoginButton"));
  loginButton->setDefault(true);
  connect(loginButton, &QPushButton::clicked, this, [this] { m_logic.LoginButton_Click(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(loginButton);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addLayout(form);
  layout->addLayout(buttons);
  setMinimumWidth(320);

  connect(&logic, &frmLogin::fieldsChanged, this, &LoginDialog::loadFields);
  connect(&logic, &frmLogin::visibleChanged, this, &LoginDialog::follow);
  connect(&logic, &frmLogin::focusRequested, this, &LoginDialog::focusField);
  loadFields();
  if (logic.Visible()) follow(true);
}

void LoginDialog::loadFields() {
  m_user->setText(m_logic.LoginName);
  m_password->setText(m_logic.LoginPassword);
}

void LoginDialog::follow(bool visible) {
  if (!visible) {
    hide();
    return;
  }
  show();
  raise();
  activateWindow();
}

void LoginDialog::focusField(frmLogin::Field field) {
  if (field == frmLogin::Field::LoginPassword) m_password->setFocus();
  if (field == frmLogin::Field::LoginName) m_user->setFocus();
}

void LoginDialog::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
    case Qt::Key_F1:
      m_logic.ShowHelp();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Enter logs in from the password box (and from the button's default).
      m_logic.LoginButton_Click();
      return;
    case Qt::Key_Escape:
      m_logic.Close();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void LoginDialog::closeEvent(QCloseEvent *event) {
  m_logic.Close();
  event->accept();
}
