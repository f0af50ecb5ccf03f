// The Pane properties dialog (frmPanes): shows ws.dialogs.panes and hands
// every edit to the engine's handlers. Created once by the main window and
// kept hidden between uses, so its controls keep their values.
#pragma once
#include "app/dialogs/DialogParts.h"
#include "shell/Workspace.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTabWidget;

namespace qv {

class WritingBox;

class frmPanes : public QDialog {
  Q_OBJECT
 public:
  frmPanes(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 public slots:
  // The controls show the dialog's values in the workspace.
  void refresh();

 protected:
  // Esc and the window's close button are "cancel".
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildWriting();
  QWidget* buildAssigned();
  QWidget* buildData();
  QWidget* buildEffects();
  QWidget* buildAnimation();
  QLineEdit* valBox(int k);
  QComboBox* paneCombo(const QString& name, const QString& tip, ListState PaneDialogState::*list,
                       void (*handler)(Workspace&) = nullptr);
  OptionPair paneOption(const QString& name, const QString& no, const QString& yes, int PaneDialogState::*option,
                        void (*handler)(Workspace&, int) = nullptr);
  void popUpPopularValues(int k, const QPoint& at);
  void writingEdited();
  void showWriting();
  // Runs a user's action through the engine, then shows the new state.
  template <typename F>
  void act(F&& f);

  Workspace& ws_;
  PaneDialogState& d_;
  bool refreshing_ = false;
  QTabWidget* tabs_ = nullptr;
  QLabel* label1_ = nullptr;
  std::array<QLineEdit*, ValBoxCount> val_{};
  QLineEdit* label_ = nullptr;
  QLineEdit* url_ = nullptr;
  WritingBox* writing_ = nullptr;
  // The state text the Writing box was last given: the box is rewritten
  // only when the state holds another text.
  QString writingGiven_;
  // The box's own text after it was last given one or edited.
  QString writingShown_;
  QListWidget* list1_ = nullptr;
  ColourWell* swatch_ = nullptr;
  QMenu* popular_ = nullptr;
  Bindings<PaneDialogState> bound_;
};

}  // namespace qv
