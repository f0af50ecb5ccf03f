// Pictures from files into a Pane or the Background, mirroring a Pane's
// picture, and rescaling it when its size changes. Everything works on the
// sheet cells through picResize and hands picResize back at rest.
#pragma once
#include "imaging/Flip.h"
#include "imaging/PaneFrames.h"
#include "model/Outcome.h"
#include "shell/Workspace.h"

namespace qv {

extern const QString PictureFilter;

// What the picture dialog loads into.
enum class PictureTarget : uint8_t { Pane = 1, Background = 2 };

// A file title without its extension: everything from its last dot, unless
// that dot starts the title or a space follows it ("photo.jpeg" gives
// "photo"; "plain", ".png" and "Mr. Smith" stay whole). It never holds the
// project text's separator character (our addition: the name goes into the
// project text, which could not be read back with it).
QString ShortPictureName(const QString& title);

// The picture dialog: for a Pane it loads the chosen file into the slot,
// for the Background it takes the file as the Background's name and path
// (the Background command loads it). Cancelled, failed (the file and the
// reason) or done.
Outcome OpenPictureFile(Workspace& ws, PictureTarget target, int slot = 0);
// Puts a picture read from a file into the slot as the picture dialog does:
// the Pane's picture name and Label from the file's title; its transparency
// and an animation's Cels as TakePanePicture sets them.
void PutPictureIntoPane(Workspace& ws, int slot, const PanePicture& pic, const QString& title);
// Takes a picture into the slot: on the Board at once, into its sprite cell
// scaled to its size, and its mask when Transparent.
void CommitPanePicture(Workspace& ws, int slot, const QImage& picture);

// Load a Picture (Pane) from the menu (or Ctrl+L) and from Fast Icon 0;
// their steps run in different orders.
Outcome mnu_LoadsPicture_Click(Workspace& ws);
Outcome FastIconLoadPicture(Workspace& ws);
// Load a Picture (Background): a file that cannot be loaded ends the
// command, failed with the file and the reason.
Outcome mnu_LoadPicBack_Click(Workspace& ws);

// Flip Horizontally / Flip Vertically of the Target Pane: its sprite block,
// and its mask block when Transparent, mirrored in place; then a redraw.
void FlipTargetPane(Workspace& ws, MirrorAxis axis);

// Stretches the slot's picture from its old size to its current Width x
// Height (the record already holds the new size); rebuilds the mask of a
// Transparent Pane.
void RescalePane(Workspace& ws, int slot, int oldWidth, int oldHeight);

}  // namespace qv
