// Start-up lists and defaults, window layout and design icons.
#include "shell/Setups.h"

#include "shell/BoardSizes.h"
#include "shell/Platform.h"
#include "shell/WindowHost.h"

namespace qv {

const QString IdleReadout = QStringLiteral(" ") + QString::fromLatin1(MakerAddress);

void PlaceBoardBelowBar(Workspace& ws) {
  ws.surfaces.picStage.Top = ws.win.picFastMenu.Top + ws.win.picFastMenu.Height;
  ws.surfaces.picStage.Left = ws.win.picHolder.Left + 1;
}

void LayoutMainWindow(Workspace& ws) {
  MainWindowState& win = ws.win;
  const QSize inner = ws.windows->MainInnerSize();
  win.picIntro.Width = IntroWidth;
  win.picIntro.Height = IntroHeight;
  win.picHolder.Top = 1;
  win.picHolder.Width = std::max(inner.width() - 2, 0);
  win.picHolder.Height = std::max(inner.height() - 1, 0);
  win.Picture1.Left = 0;
  win.Picture1.Top = ws.surfaces.picStage.Top;
  win.picFastMenu.Width = win.picHolder.Width + 2;
  win.picFastMenu.Left = win.picHolder.Width - win.picFastMenu.Width;
  win.picFastMenu.Top = 0;
  win.Line_FastMenuX2 = win.picHolder.Width + 2;
  PlaceBoardBelowBar(ws);
  if (win.Combo_BoardIndex == MaxBoardEntry)
    ws.surfaces.picStage.SetSize(std::max(win.picHolder.Width - 1, 1),
                        std::max(win.picHolder.Height - (win.picFastMenu.Height + 1), 1));

  // Icons from the right, each left of the previous one.
  auto& icon = win.Img_IconStrip;
  const int w = icon[4].Width;
  icon[4].Left = win.picFastMenu.Width - (w + 5);
  icon[5].Left = icon[4].Left - (w + 2);
  icon[0].Left = icon[5].Left - (w + 2);
  icon[7].Left = icon[0].Left - (w + 10);
  icon[6].Left = icon[7].Left - (w + 2);
  icon[8].Left = icon[6].Left - (w + 10);
  icon[3].Left = icon[8].Left - (w + 2);
  // Two pixels right of the holder's edge (our change): the bar starts two
  // pixels left of it, so two pixels right of the bar's own edge clips the icon.
  icon[10].Left = 2 - win.picFastMenu.Left;
  win.Lab_ReadoutsLeft = icon[10].Left + icon[10].Width + 3;

  ws.session.BoardHeight = ws.surfaces.picStage.Height();
  ws.session.BoardWidth = Integer(ws.surfaces.picStage.Width());
  win.picIntro.Left = 10;
  win.picIntro.Top = 30;

  const BoardOptionPairs& board = ws.project.BoardOptions;
  ws.project.BoardSettings.FloatPanes = toFlag(board.Option_FloatPanes == 1);
  ws.project.BoardSettings.WirePanes = toFlag(board.Option_WirePanes == 1);
  ws.project.BoardSettings.BoardLocked = toFlag(board.Option_BoardMove != 1);
}

void ShowDesignIcons(Workspace& ws) {
  for (int i : DesignIcons) ws.win.Img_IconStrip[size_t(i)].Visible = true;
}

void HideDesignIcons(Workspace& ws) {
  for (int i : DesignIcons) ws.win.Img_IconStrip[size_t(i)].Visible = false;
}

void WaitASec(Workspace& ws, int count) {
  if (count > 0) ws.platform->Wait(count * 30);
}

void RestoreDesignStage(Workspace& ws) {
  ws.win.picFastMenu.Visible = true;
  ws.surfaces.picStage.SetSize(ws.run.SavedWidth, ws.run.SavedHeight);
  PlaceBoardBelowBar(ws);
  ws.win.Picture1.Visible = false;
}

void IntroBlankNewProject(Workspace& ws) {
  ws.win.picIntro.Visible = false;
  ws.surfaces.picStage.Visible = true;
  ShowDesignIcons(ws);
  ws.win.KeyPreview = true;
}

void CloseLayerList(Workspace& ws) { ws.win.Frame_ListZ.Visible = false; }

}  // namespace qv
