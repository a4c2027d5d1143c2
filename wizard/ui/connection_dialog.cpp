#include "wizard/ui/connection_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "wizard/ui/database_commands.h"

namespace kivwz {
namespace {

const QString kKind = QStringLiteral("database/kind");
const QString kFile = QStringLiteral("database/file");
const QString kConnection = QStringLiteral("database/connection");

QSettings Settings() {
  return QSettings(QStringLiteral("KivDB"), QStringLiteral("KivWZ"));
}

// A value that holds a semicolon or a brace goes between braces, its closing braces doubled.
std::string ConnectionValue(const std::string& value) {
  if (value.find_first_of(";{}") == std::string::npos) return value;
  std::string braced = "{";
  for (const char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

}  // namespace

ConnectionDialog::ConnectionDialog(const QString& title, QWidget* parent) : QDialog(parent) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("dlgConnection"));
  auto* layout = new QVBoxLayout(this);

  sqlite_ = new QRadioButton(tr("An &SQLite file"), this);
  sqlite_->setObjectName(QStringLiteral("optSqlite"));
  file_ = new QLineEdit(this);
  file_->setObjectName(QStringLiteral("txtFile"));
  file_->setMinimumWidth(360);
  auto* browse = new QPushButton(tr("&Browse..."), this);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);

  odbc_ = new QRadioButton(tr("A &connection string (ODBC)"), this);
  odbc_->setObjectName(QStringLiteral("optOdbc"));
  connection_ = new QLineEdit(this);
  connection_->setObjectName(QStringLiteral("txtConnection"));
  connection_->setPlaceholderText(
      QStringLiteral("Driver={PostgreSQL Unicode};Server=...;Database=...;Uid=..."));
  password_ = new QLineEdit(this);
  password_->setObjectName(QStringLiteral("txtPassword"));
  password_->setEchoMode(QLineEdit::Password);
  auto* passwordRow = new QFormLayout;
  passwordRow->addRow(tr("&Password (never stored):"), password_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(sqlite_);
  layout->addLayout(fileRow);
  layout->addWidget(odbc_);
  layout->addWidget(connection_);
  layout->addLayout(passwordRow);
  layout->addWidget(buttons);

  const auto follow = [this] {
    file_->setEnabled(sqlite_->isChecked());
    connection_->setEnabled(odbc_->isChecked());
    password_->setEnabled(odbc_->isChecked());
  };
  connect(sqlite_, &QRadioButton::toggled, this, follow);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getOpenFileName(this, tr("SQLite Database"), file_->text());
    if (!chosen.isEmpty()) {
      file_->setText(chosen);
      sqlite_->setChecked(true);
    }
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (Connection().empty()) return;
    Remember();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Recall();
  follow();
}

std::string ConnectionDialog::Connection() const {
  if (sqlite_->isChecked()) {
    const std::string file = file_->text().trimmed().toStdString();
    return file.empty() ? std::string() : "Provider=SQLite;Data Source=" + ConnectionValue(file);
  }
  std::string connection = connection_->text().trimmed().toStdString();
  if (connection.empty()) return connection;
  const std::string password = password_->text().toStdString();
  if (!password.empty()) {
    connection = WithoutPassword(connection);
    if (!connection.empty() && connection.back() != ';') connection += ';';
    connection += "Pwd=" + ConnectionValue(password);
  }
  return connection;
}

void ConnectionDialog::Remember() const {
  QSettings settings = Settings();
  settings.setValue(kKind,
                    sqlite_->isChecked() ? QStringLiteral("sqlite") : QStringLiteral("odbc"));
  settings.setValue(kFile, file_->text().trimmed());
  settings.setValue(kConnection, QString::fromStdString(
                                     WithoutPassword(connection_->text().trimmed().toStdString())));
}

void ConnectionDialog::Recall() {
  const QSettings settings = Settings();
  const bool odbc = settings.value(kKind).toString() == QStringLiteral("odbc");
  odbc_->setChecked(odbc);
  sqlite_->setChecked(!odbc);
  file_->setText(settings.value(kFile).toString());
  connection_->setText(settings.value(kConnection).toString());
}

std::optional<std::string> ConnectionDialog::Ask(const std::string& title, QWidget* parent) {
  ConnectionDialog dialog(QString::fromStdString(title), parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Connection();
}

}  // namespace kivwz
