// Layout of the Pane properties dialog's tabs and lists.
#include "app/dialogs/frmPanes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

// A tab page whose frames are stacked from the top.
QWidget* page(QTabWidget* tabs, const QString& caption) {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  v->addStretch();
  tabs->addTab(w, caption);
  return w;
}

QGridLayout* frame(QWidget* page, const QString& caption, const QString& tip = {}) {
  auto* box = new QGroupBox(caption, page);
  box->setToolTip(tip);
  auto* grid = new QGridLayout(box);
  auto* v = static_cast<QVBoxLayout*>(page->layout());
  v->insertWidget(v->count() - 1, box);
  return grid;
}

}  // namespace

frmPanes::frmPanes(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmPanes"));
  setWindowTitle(QStringLiteral("Pane : Properties - Layer "));
  setModal(true);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  QWidget* writing = page(tabs_, QStringLiteral("Writing"));
  QWidget* assigned = page(tabs_, QStringLiteral("Assigned"));
  QWidget* data = page(tabs_, QStringLiteral("Data"));
  QWidget* effects = page(tabs_, QStringLiteral("Effects"));
  QWidget* animation = page(tabs_, QStringLiteral("Animation"));
  Q_UNUSED(assigned);

  QGridLayout* events = frame(writing, QStringLiteral("Events :"), QStringLiteral("Text activates on Mouse click in RunMode."));
  addCombo(events, 0, QStringLiteral("On Click :"), QStringLiteral("Combo_Writing"),
           QStringLiteral("May or Not edit the Box contents in RunMode."));
  QGridLayout* look = frame(writing, QString(), QStringLiteral("Select Global attributes for the Note."));
  addCombo(look, 0, QStringLiteral("style"), QStringLiteral("cmbStyleTXT"), QStringLiteral("Bold / Italic / Underline."));
  addCombo(look, 1, QStringLiteral("font"), QStringLiteral("cmbFontNameTXT"), QStringLiteral("Choose Font."));
  addCombo(look, 2, QStringLiteral("size"), QStringLiteral("cmbFontSizeTXT"), QStringLiteral("Choose Font Size."));
  addCombo(look, 3, QStringLiteral("color"), QStringLiteral("cmbFontColorTXT"), QStringLiteral("Choose Font Color."));
  addCombo(look, 4, QStringLiteral("background"), QStringLiteral("cmbBackColorTXT"),
           QStringLiteral("Choose Background Color."));

  QGridLayout* value = frame(data, QStringLiteral("Has Value :"),
                             QStringLiteral("A Value which may be Added or Subtracted by a certain Amount."));
  addCombo(value, 0, QStringLiteral("Process :"), QStringLiteral("Combo_ValueType"),
           QStringLiteral("Add or Subtract - Next, choose a Process Amount."));
  QGridLayout* sound = frame(data, QStringLiteral("Sound :"), QStringLiteral("On Mouse click in RunMode, a Pane plays a Sound."));
  addCombo(sound, 0, QString(), QStringLiteral("Combo_Sound"), QStringLiteral("Choose a Sound ..."));

  const QString effectTip = QStringLiteral("An effect only occurs if, under Animation Tab, Collision has been set.");
  QGridLayout* mouse = frame(effects, QStringLiteral("Mouse Effect :"), QStringLiteral("In RunMode, the outcome of a Mouse-Over Selection."));
  addCombo(mouse, 0, QStringLiteral("When over a Pane in RunMode :"), QStringLiteral("Combo_EffectsMouse"), effectTip);
  QGridLayout* effect = frame(effects, QStringLiteral("Effect Type :"),
                              QStringLiteral("In RunMode, an Effect is a visual anomaly which presents during Pane collision."));
  addCombo(effect, 0, QStringLiteral("If Collision between Panes is true :"), QStringLiteral("Combo_EffectType"), effectTip);

  QGridLayout* type = frame(animation, QStringLiteral("Type :"), QStringLiteral("Animation type."));
  addCombo(type, 0, QString(), QStringLiteral("Combo_AnimationType"), QStringLiteral("A style of Animation."));
  QGridLayout* collision = frame(animation, QStringLiteral("Collision : "));
  addCombo(collision, 0, QString(), QStringLiteral("Combo_CollisionType"),
           QStringLiteral("A Collision of \"none\" means other Panes cannot see this Pane, even if those other Panes "
                          "have Collision set."));

  tabs_->setCurrentIndex(1);
  info_ = new QLabel(QStringLiteral("Constants which change the properties of a Pane."), this);
  info_->setObjectName(QStringLiteral("Label1"));
  info_->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(info_);
  resize(460, 380);
}

QComboBox* frmPanes::addCombo(QGridLayout* grid, int row, const QString& label, const QString& name,
                              const QString& tip) {
  auto* combo = new QComboBox(grid->parentWidget());
  combo->setObjectName(name);
  combo->setToolTip(tip);
  if (!label.isEmpty()) grid->addWidget(new QLabel(label, grid->parentWidget()), row, 0);
  grid->addWidget(combo, row, 1);
  grid->setColumnStretch(1, 1);
  return combo;
}

}  // namespace qv
