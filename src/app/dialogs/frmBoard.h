// The Board properties dialog (frmBoard, "Board Globals"): shows
// ws.dialogs.board and hands every edit to the engine's handlers. Created
// once by the main window and kept hidden between uses.
#pragma once
#include "app/dialogs/DialogParts.h"
#include "shell/Workspace.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;

namespace qv {

class frmBoard : public QDialog {
  Q_OBJECT
 public:
  frmBoard(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 public slots:
  void refresh();

 protected:
  // Esc and the window's close button are "cancel".
  void reject() override;

 private:
  QWidget* buildHelp();
  QWidget* buildAssigned();
  QWidget* buildGround();
  QWidget* buildAbout();
  // A colour frame's row: its list, the swatch and the " ..." button.
  QWidget* colourFrame(const QString& caption, const QString& tip, QComboBox* list, ColourWell* swatch, int button,
                       const QString& selectCaption, const QString& currentCaption);
  QComboBox* boardCombo(const QString& name, const QString& tip, ListState BoardDialogState::*list,
                        void (*handler)(Workspace&));
  ColourWell* swatch(const QString& name, Long BoardDialogState::*colour, void (*handler)(Workspace&));
  OptionPair boardOption(const QString& name, const QString& no, const QString& yes, int BoardDialogState::*option,
                         void (*handler)(Workspace&, int));
  // An option pair the project keeps (Board Move, Float, Wire).
  OptionPair boardOption(const QString& name, int BoardOptionPairs::*option, void (*handler)(Workspace&, int));
  template <typename F>
  void act(F&& f);

  Workspace& ws_;
  BoardDialogState& d_;
  QTabWidget* tabs_ = nullptr;
  QLabel* label1_ = nullptr;
  QListWidget* listHelp_ = nullptr;
  QPlainTextEdit* textHelp_ = nullptr;
  QLineEdit* backPicture_ = nullptr;
  OptionPair floatPanes_;
  Bindings<BoardDialogState> bound_;
  std::vector<std::pair<OptionPair, int BoardOptionPairs::*>> projectOptions_;
};

}  // namespace qv
