// RunMode click actions.
#include "runmode/ClickActions.h"

#include "resources/Resources.h"
#include "shell/Platform.h"

namespace qv {
namespace {

// A RevealPane outside 0..50 stops the click there (RunPane throws): no
// Writing box opens and no sound plays.
void reveal(Workspace& ws, const PaneRecord& p) {
  if (p.RevealValue == p.Value) ws.RunPane(p.RevealPane).Visible = QvTrue;
}

void openWritingBox(Workspace& ws, const PaneRecord& p) {
  WritingBoxState& box = ws.win.Text_Writing;
  box.Width = p.WritingWidth;
  box.Height = p.WritingHeight;
  box.Text = p.WritingText;
  box.BackColor = p.WritingBackColor;
  box.FontName = p.WritingFontName;
  box.Bold = isSet(p.WritingBold);
  box.Italic = isSet(p.WritingItalic);
  box.FontSize = p.WritingFontSize;
  box.Underline = isSet(p.WritingUnderline);
  box.ForeColor = p.WritingForeColor;
  box.Left = roundHalfEven(ws.pointer.MouseX);
  box.Top = ws.pointer.MouseY;
  box.Locked = p.WritingMode == 1;
  if (isSet(p.UseURL)) {
    ControlState& url = ws.win.Button_Url;
    url.Left = box.Left;
    url.Top = box.Top + box.Height;
    url.Width = box.Width;
    url.Visible = true;
  } else {
    // The button belongs to the box of a Pane with an address; a box opened
    // straight after another Pane's must not offer that one.
    ws.win.Button_Url.Visible = false;
  }
  box.Visible = true;
}

}  // namespace

void PaneClickActions(Workspace& ws, int slot) {
  PaneRecord& p = ws.RunPane(slot);
  if (p.Process == 1 && p.Value != 0) {
    p.Value = Integer(std::min(p.Value + p.ProcessAmount, 99));
    reveal(ws, p);
  } else if (p.Process == 2 && p.Value != 0) {
    p.Value = Integer(std::max(p.Value - p.ProcessAmount, 0));
    reveal(ws, p);
  }
  if (isSet(p.UseWriting)) openWritingBox(ws, p);
  if (p.Sound != 0) {
    StopSound(ws);
    PlayPaneSound(ws, p.Sound);
  }
}

void PlayPaneSound(Workspace& ws, int id) {
  // The old sound was stopped before its bytes are replaced. Our addition:
  // a Sound from 1000 up is an own sound of the project (nothing plays when
  // the project has none of that number).
  const auto own = ws.project.OwnSounds.constFind(id);
  ws.run.SoundData = own != ws.project.OwnSounds.cend() ? own->Wave : LoadResData(id, QStringLiteral("CUSTOM"));
  if (!ws.run.SoundData.isEmpty()) ws.platform->PlaySound(ws.run.SoundData);
}

void StopSound(Workspace& ws) { ws.platform->StopSound(); }

void OpenPaneUrl(Workspace& ws) {
  ws.platform->OpenUrl(QStringLiteral("http://") + ws.RunPane(ws.pointer.CurrentPane).URL);
}

}  // namespace qv
