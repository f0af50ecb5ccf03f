// The main window's layout, the design icons, the intro choice and small
// window methods.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// The idle text of the readout line.
extern const QString IdleReadout;

// The eight design icons, in the order they are named.
constexpr std::array<int, 8> DesignIcons = {10, 8, 3, 6, 7, 0, 5, 4};

void LayoutMainWindow(Workspace& ws);
void ShowDesignIcons(Workspace& ws);
void HideDesignIcons(Workspace& ws);
// Pauses the whole program for count x 30 ms without processing events.
void WaitASec(Workspace& ws, int count);
void RestoreDesignStage(Workspace& ws);
// Leaving the intro for a blank project (index 0). Index 1 is the load
// command followed by a redraw; the app routes it there.
void IntroBlankNewProject(Workspace& ws);
// Lab_CloseList click.
void CloseLayerList(Workspace& ws);

// Places the Board below the menu bar.
void PlaceBoardBelowBar(Workspace& ws);

}  // namespace qv
