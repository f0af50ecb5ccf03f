// The engine's view of the windows it does not own: the main window's inner
// size, the lists of the three dialogs, and showing a dialog. The app
// implements it with its widgets; HeadlessWindowHost serves the CLI and tests.
#pragma once
#include "model/Types.h"

#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace qv {

class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The main window's inner width and height.
  virtual QSize MainInnerSize() = 0;
  // Empties a dialog list, adds the entries in order and selects one (which
  // runs the list's click handler, as selecting in code does).
  virtual void FillList(const QString& list, const QStringList& entries, int selected) = 0;
  // Empties a dialog list or text box.
  virtual void ClearList(const QString& list) = 0;
  // Paints a dialog's colour swatch.
  virtual void SetSwatchColor(const QString& swatch, Long colour) = 0;
  // The main window's widgets show the workspace state again.
  virtual void Refresh() {}
};

// Keeps lists as plain values; the main window has a fixed inner size.
class HeadlessWindowHost : public WindowHost {
 public:
  explicit HeadlessWindowHost(QSize inner = QSize(1000, 700)) : inner_(inner) {}
  QSize MainInnerSize() override { return inner_; }
  void SetMainInnerSize(QSize s) { inner_ = s; }
  void FillList(const QString& list, const QStringList& entries, int selected) override {
    lists[list] = entries;
    selection[list] = selected;
  }
  void ClearList(const QString& list) override {
    lists[list].clear();
    selection[list] = -1;
  }
  void SetSwatchColor(const QString& swatch, Long colour) override { swatches[swatch] = colour; }

  QMap<QString, QStringList> lists;
  QMap<QString, int> selection;
  QMap<QString, Long> swatches;

 private:
  QSize inner_;
};

}  // namespace qv
