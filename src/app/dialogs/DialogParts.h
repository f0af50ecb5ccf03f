// The pieces both property dialogs are built from: captioned frames, option
// pairs, colour wells, and showing list and text values from the workspace
// without the widgets echoing them back as user edits.
#pragma once
#include "shell/DialogState.h"

#include <QAbstractButton>
#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace qv {

// A clickable colour well: shows one colour; mouse click or Space clicks it.
class ColourWell : public QAbstractButton {
  Q_OBJECT
 public:
  explicit ColourWell(const QString& name, QWidget* parent = nullptr);
  void setColour(Long c);
  Long colour() const { return colour_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  Long colour_ = Black;
};

// The help line under a dialog's tabs, its Label1.
QLabel* helpLine();

// "a c c e p t" (index 1, the default button) and "&cancel" (index 0), named
// form + "_1" / form + "_0"; a click reports the index.
QDialogButtonBox* acceptCancel(const QString& form, const QString& acceptTip, QObject* owner,
                               std::function<void(int)> clicked);

// A frame with a caption and a tooltip.
QGroupBox* frame(const QString& caption, const QString& tip = {});

// A label; with a buddy its mnemonic moves the focus there.
QLabel* label(const QString& text, QWidget* buddy = nullptr, const QString& tip = {});

// An option pair "name_0" / "name_1": index 0 "No" or "Inactive", 1 "Yes"
// or "Active". A user's click reports the index.
struct OptionPair {
  std::array<QRadioButton*, 2> button{};
  QButtonGroup* group = nullptr;
  void show(int index) const;
};
OptionPair optionPair(const QString& name, const QString& no, const QString& yes, QObject* owner,
                      std::function<void(int)> clicked);

// A drop-down list whose user choices report the chosen index.
QComboBox* combo(const QString& name, const QString& tip, QObject* owner, std::function<void(int)> chosen);

// Showing values; none of these reports back as a user's edit.
void showList(QComboBox* box, const ListState& list);
void showList(QListWidget* box, const ListState& list);
void showText(QLineEdit* box, const QString& text);
// Text in red (RGB 255,0,0) or in the normal text colour.
void showRed(QWidget* w, bool red);

// The controls of a dialog that show a field of its state: each refresh
// shows the field's value in its control.
template <typename State>
struct Bindings {
  struct Combo {
    QComboBox* box;
    ListState State::*list;
  };
  struct Swatch {
    ColourWell* well;
    Long State::*colour;
  };
  struct Option {
    OptionPair pair;
    int State::*option;
  };
  std::vector<Combo> combos;
  std::vector<Swatch> swatches;
  std::vector<Option> options;

  void show(const State& d) const {
    for (const Combo& c : combos) showList(c.box, d.*c.list);
    for (const Swatch& s : swatches) s.well->setColour(d.*s.colour);
    for (const Option& o : options) o.pair.show(d.*o.option);
  }
};

}  // namespace qv
