#include "ui/logindialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// Enter in the user name goes on to the password; in the password (or on
// the button) it logs in.
LoginDialog::LoginDialog(frmLogin &logic, QWidget *parent)
    : ServerDialogView(QStringLiteral("frmLogin"), frmLogin::Caption,
                       {[this] {
                          m_logic.EnterPressed(m_user->hasFocus() ? frmLogin::Field::LoginName
                                                                  : frmLogin::Field::LoginPassword);
                        },
                        [&logic] { logic.Close(); }, [&logic] { logic.ShowHelp(); }},
                       parent),
      m_logic(logic) {
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
  connect(&logic, &frmLogin::visibleChanged, this, [this](bool visible) { follow(visible); });
  connect(&logic, &frmLogin::focusRequested, this, &LoginDialog::focusField);
  loadFields();
  if (logic.Visible()) follow(true);
}

void LoginDialog::loadFields() {
  m_user->setText(m_logic.LoginName);
  m_password->setText(m_logic.LoginPassword);
}

void LoginDialog::focusField(frmLogin::Field field) {
  if (field == frmLogin::Field::LoginPassword) m_password->setFocus();
  if (field == frmLogin::Field::LoginName) m_user->setFocus();
}
