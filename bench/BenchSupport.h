// Shared pieces of the benchmarks: the deterministic frame scene (Board,
// Background, sprite and mask sheets, 50 Pane places), our frame and the
// SDL2 peer frame over the same scene, and the scene set up through the
// engine in a headless session.
#pragma once
#include "session/Headless.h"

#include <QImage>

#include <string>
#include <vector>

namespace qvbench {

constexpr int BoardW = 1024;
constexpr int BoardH = 764;
constexpr int SheetW = 1000;
constexpr int SheetH = 2000;
constexpr int CelSize = 200;
constexpr int PaneCount = 50;

// Where one Pane is drawn and which 200 x 200 cell of the sheets it shows.
struct PanePlace {
  int x, y;    // on the Board; some lie partly off each edge
  int sx, sy;  // on the sheets
};

// The 50 spread-out Pane places, the same every run.
const std::vector<PanePlace>& panePlaces();

// The pictures of one frame, each with its own pixel buffer. In the sprite
// sheet about 30% of the pixels are true black (the area around a disc in
// each cell) and the mask sheet is white exactly there and black elsewhere;
// no opaque sprite pixel is black.
struct FrameScene {
  QImage board, background, sprites, masks;
  FrameScene();
};

// Our frame: restore the Board from the Background with a SRCCOPY block copy,
// then draw the 50 Panes transparently.
void oursRestore(FrameScene& s);
void oursFrameFused(FrameScene& s);    // qv::BlitTransparent per Pane
void oursFrameTwoStep(FrameScene& s);  // mask SRCAND, then sprite SRCPAINT

// The SDL2 peer over the same scene, in software XRGB8888 surfaces: restore
// with SDL_BlitSurface, then 50 colour-keyed (black) blits. The surfaces are
// made on first use (sdlPeerReady) and live until exit.
enum class PeerMode {
  ColorKey,     // colour key, RLE off, blits from the sheet
  ColorKeyRle,  // colour key, RLE on, blits from the sheet
  // Colour key, RLE on, one 200 x 200 surface per cell, as sprites loaded
  // one per surface are drawn (RLE blits must walk the runs above the source
  // rectangle, so blitting from a tall RLE sheet is slow).
  ColorKeyRleCels,
};
void sdlPeerReady();
void sdlPeerRestore();
void sdlPeerFrame(PeerMode mode);
// The Board pixels whose RGB differs between `board` and the peer's Board
// after one frame drawn in each mode, as " <mode>: N pixels;" per mode that
// differs; empty when all agree.
std::string sdlPeerDifferences(const QImage& board);

// Sets the frame scene up in a session through the engine: the 1024 x 764
// Board from the size list, the Background in use, and 50 Transparent
// 200 x 200 Panes added with AddPane at panePlaces(). Place i goes to slot
// 50 - i, so the Board is drawn in the frame's order (slot 50 first); each
// slot's sheet cell holds the sprite pixels of its place's cell and its mask
// is built by BuildPaneMask. RedrawBoard then draws the frame's picture.
void buildPaneScene(qv::HeadlessSession& s);
// Gives the scene's Panes the RunFrame benchmark's motion: movement types 1..5
// in turn, starting in the direction of the type, speeds 1..3, Rebound on
// every Pane; every third Pane flips on bounds and every fourth is a 2 x 2
// Cel grid that advances every frame.
void setRunMotion(qv::HeadlessSession& s);

}  // namespace qvbench
