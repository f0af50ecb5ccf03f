// The intro artwork: a title panel with a few overlapping Panes, painted in
// code, and the two clickable choices below it.
#include "app/Intro.h"

#include "shell/MainWindowState.h"
#include "app/ClickLabel.h"

#include <QDir>
#include <QFileInfo>
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

namespace {

// The recent projects' heading and rows, below the intro's own picture.
constexpr int RecentHeading = 24;
constexpr int RecentRow = 36;

}  // namespace

int IntroPicture::recentHeight() const {
  return recent_.isEmpty() ? 0 : RecentHeading + int(recent_.size()) * RecentRow + 8;
}

void IntroPicture::setRecent(const QStringList& paths) {
  // A row may be the one whose click led here: it goes once the click is over.
  for (ClickLabel* row : std::as_const(recent_)) {
    row->setObjectName(QString());
    row->hide();
    row->deleteLater();
  }
  recent_.clear();
  for (const QString& path : paths) {
    const QFileInfo file(path);
    const bool there = file.isFile();
    auto* row = new ClickLabel(this);
    row->setObjectName(QStringLiteral("Label_Recent_%1").arg(recent_.size()));
    row->setCursor(Qt::PointingHandCursor);
    row->setToolTip(there ? QDir::toNativeSeparators(path) : QStringLiteral("This project is no longer there"));
    const QString folder = row->fontMetrics().elidedText(QDir::toNativeSeparators(file.absolutePath()), Qt::ElideMiddle,
                                                         IntroWidth - 64);
    row->setText(QStringLiteral("<b>%1</b><br><small>%2</small>").arg(file.fileName().toHtmlEscaped(), folder.toHtmlEscaped()));
    row->setTextFormat(Qt::RichText);
    row->setStyleSheet(QStringLiteral("QLabel { color: %1; padding: 1px 8px; border-radius: 4px; }"
                                      "QLabel:hover { background: rgba(255,255,255,40); }")
                           .arg(there ? "#f4f6fa" : "#7d8798"));
    row->setGeometry(22, IntroHeight + RecentHeading + int(recent_.size()) * RecentRow, IntroWidth - 44, RecentRow - 2);
    row->show();
    connect(row, &ClickLabel::clicked, this, [this, path] { emit recentClicked(path); });
    recent_ << row;
  }
  resize(IntroWidth, IntroHeight + recentHeight());
  update();
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
  if (!recent_.isEmpty()) {
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawLine(QPointF(22, IntroHeight), QPointF(r.width() - 22, IntroHeight));
    p.setPen(QColor(190, 205, 230));
    p.drawText(QRectF(22, IntroHeight, r.width() - 44, RecentHeading), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Recent projects"));
  }

  p.setPen(QPen(QColor(0, 0, 0, 120), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace qv
