// Captioned frames, option pairs, colour wells and value display for the
// property dialogs.
#include "app/dialogs/DialogParts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace qv {

ColourWell::ColourWell(const QString& name, QWidget* parent) : QAbstractButton(parent) {
  setObjectName(name);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ColourWell::setColour(Long c) {
  if (c == colour_) return;
  colour_ = c;
  update();
}

QSize ColourWell::sizeHint() const {
  const int h = fontMetrics().height() + 8;
  return {h * 2, h};
}

void ColourWell::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect().adjusted(2, 2, -3, -3);
  p.fillRect(r, toQColor(colour_));
  p.setPen(palette().color(isDown() ? QPalette::Highlight : QPalette::Mid));
  p.drawRect(r);
  if (hasFocus()) {
    QStyleOptionFocusRect opt;
    opt.initFrom(this);
    opt.rect = rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
  }
}

QGroupBox* frame(const QString& caption, const QString& tip) {
  auto* box = new QGroupBox(caption);
  box->setToolTip(tip);
  return box;
}

QLabel* label(const QString& text, QWidget* buddy, const QString& tip) {
  auto* l = new QLabel(text);
  if (buddy) l->setBuddy(buddy);
  else l->setTextFormat(Qt::PlainText);
  l->setToolTip(tip);
  return l;
}

void OptionPair::show(int index) const {
  for (int i = 0; i < 2; ++i) {
    const QSignalBlocker block(button[size_t(i)]);
    button[size_t(i)]->setChecked(i == index);
  }
}

OptionPair optionPair(const QString& name, const QString& no, const QString& yes, QObject* owner,
                      std::function<void(int)> clicked) {
  OptionPair pair;
  pair.group = new QButtonGroup(owner);
  const QString captions[2] = {no, yes};
  for (int i = 0; i < 2; ++i) {
    auto* b = new QRadioButton(captions[i]);
    b->setObjectName(name + "_" + QString::number(i));
    pair.group->addButton(b, i);
    pair.button[size_t(i)] = b;
  }
  QObject::connect(pair.group, &QButtonGroup::idClicked, owner, std::move(clicked));
  return pair;
}

QComboBox* combo(const QString& name, const QString& tip, QObject* owner, std::function<void(int)> chosen) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  box->setToolTip(tip);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  QObject::connect(box, &QComboBox::activated, owner, std::move(chosen));
  return box;
}

void showList(QComboBox* box, const ListState& list) {
  const QSignalBlocker block(box);
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
  if (shown != list.Entries) {
    box->clear();
    box->addItems(list.Entries);
  }
  box->setCurrentIndex(list.Index < box->count() ? list.Index : -1);
}

void showList(QListWidget* box, const ListState& list) {
  const QSignalBlocker block(box);
  QStringList shown;
  for (int i = 0; i < box->count(); ++i) shown << box->item(i)->text();
  if (shown != list.Entries) {
    box->clear();
    box->addItems(list.Entries);
  }
  box->setCurrentRow(list.Index < box->count() ? list.Index : -1);
}

void showText(QLineEdit* box, const QString& text) {
  if (box->text() == text) return;
  const QSignalBlocker block(box);
  box->setText(text);
}

void showRed(QWidget* w, bool red) {
  QPalette pal = w->palette();
  const QColor normal = QApplication::palette(w).color(QPalette::Text);
  const QColor wanted = red ? QColor(255, 0, 0) : normal;
  if (pal.color(QPalette::Text) == wanted) return;
  pal.setColor(QPalette::Text, wanted);
  w->setPalette(pal);
}

}  // namespace qv
