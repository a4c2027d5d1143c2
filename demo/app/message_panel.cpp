#include "demo/app/message_panel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

namespace kivdb::demo {

MessagePanel::MessagePanel(QWidget* parent) : QDockWidget(tr("Messages"), parent) {
  setObjectName("messagePanel");
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 4, 4, 4);
  list_ = new QListWidget(body);
  list_->setObjectName("messageList");
  list_->setWordWrap(true);
  auto* clear = new QPushButton(tr("Clear"), body);
  clear->setObjectName("clearMessages");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(clear);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  setWidget(body);
  connect(clear, &QPushButton::clicked, this, &MessagePanel::Clear);
}

void MessagePanel::Add(const QString& text) {
  auto* item = new QListWidgetItem(QTime::currentTime().toString("HH:mm:ss") + "  " + text);
  item->setData(Qt::UserRole, text);
  list_->addItem(item);
  list_->scrollToBottom();
  if (isHidden()) show();
}

int MessagePanel::Count() const {
  return list_->count();
}

QString MessagePanel::Message(int row) const {
  const QListWidgetItem* item = list_->item(row);
  return item ? item->data(Qt::UserRole).toString() : QString();
}

void MessagePanel::Clear() {
  list_->clear();
}

}  // namespace kivdb::demo
