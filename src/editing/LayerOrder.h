// Layer order (our addition): a layer is a slot, slot 1 the front-most, so
// moving a Pane in front of or behind others renumbers Panes. Every
// reference follows (Reveal targets, the layer list, the Target and the
// selection), the sheets' cells move with their Panes, and what is drawn
// and hit is what the slot rules give for the new order.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

#include <QMap>

namespace qv {

enum class LayerMove : uint8_t {
  ToFront,   // to the front-most slot in use; the Panes between go one back
  Forward,   // swapped with the nearest Pane in use in front of it
  Backward,  // swapped with the nearest Pane in use behind it
  ToBack,    // to the back-most slot in use; the Panes between come one forward
};

// Moves the Target; cancelled when there is none or it is already there.
Outcome MoveLayer(Workspace& ws, LayerMove move);

// Gives each Pane of a key slot the value's slot (the values are the keys
// in another order).
void RenumberPanes(Workspace& ws, const QMap<int, int>& to);

}  // namespace qv
