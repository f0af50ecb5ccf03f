// The intro artwork: a title panel with a few overlapping Panes, painted in
// code, and the two clickable choices below it.
#include "app/Intro.h"

#include "shell/MainWindowState.h"
#include "app/ClickLabel.h"

#include <QLinearGradient>
#include <QPainter>

namespace qv {

IntroPicture::IntroPicture(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picIntro"));
  resize(IntroWidth, IntroHeight);
  const char* texts[2] = {"Blank new Project", "Load existing Project"};
  for (int i = 0; i < 2; ++i) {
    auto* label = new ClickLabel(QString::fromLatin1(texts[i]), this);
    label->setObjectName(QStringLiteral("Label_IntroChoice_%1").arg(i));
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral(
        "QLabel { color: #f4f6fa; background: rgba(255,255,255,28); border: 1px solid rgba(255,255,255,90);"
        " border-radius: 4px; padding: 2px 8px; }"
        "QLabel:hover { background: rgba(255,255,255,70); }"));
    label->setAlignment(Qt::AlignCenter);
    label->ensurePolished();
    const int w = label->sizeHint().width() + 8;
    label->setGeometry(i == 0 ? 22 : IntroWidth - 22 - w, IntroHeight - 46, w, 28);
    connect(label, &ClickLabel::clicked, this, [this, i] { emit choiceClicked(i); });
    choices_[size_t(i)] = label;
  }
}

void IntroPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = rect();
  QLinearGradient sky(r.topLeft(), r.bottomRight());
  sky.setColorAt(0, QColor(36, 64, 112));
  sky.setColorAt(1, QColor(18, 28, 52));
  p.fillRect(r, sky);

  // A little Board with three Panes on it.
  const QRectF boardRect(214, 26, 116, 86);
  p.setPen(QPen(QColor(120, 80, 40), 2));
  p.setBrush(QColor(184, 184, 184));
  p.drawRect(boardRect);
  const struct { QRectF rect; QColor colour; } panes[] = {
      {{226, 38, 46, 34}, QColor(230, 90, 80)},
      {{252, 56, 50, 38}, QColor(250, 200, 60)},
      {{282, 40, 38, 30}, QColor(90, 160, 230)},
  };
  for (const auto& pane : panes) {
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(pane.colour);
    p.drawRect(pane.rect);
  }
  p.setPen(QPen(QColor(0, 0, 255), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(panes[1].rect.adjusted(-2, -2, 2, 2));

  QFont title = font();
  title.setPixelSize(38);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(250, 250, 252));
  p.drawText(QRectF(22, 28, 190, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorvel"));

  QFont sub = font();
  sub.setPixelSize(12);
  p.setFont(sub);
  p.setPen(QColor(190, 205, 230));
  p.drawText(QRectF(24, 80, 190, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             // Ctrl+Q is our addition: the intro has no other way out.
             QStringLiteral("Picture Panes on a Board:\nlay them out, then run them.\nCtrl+Q quits."));

  p.setPen(QPen(QColor(255, 255, 255, 60), 1));
  p.drawLine(QPointF(22, 140), QPointF(r.width() - 22, 140));
  p.setPen(QColor(190, 205, 230));
  p.drawText(QRectF(22, 148, r.width() - 44, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Start on an empty Board, or open a project."));

  p.setPen(QPen(QColor(0, 0, 0, 120), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace qv
