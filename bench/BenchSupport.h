// Shared pieces of the benchmarks: the deterministic frame scenes (Board,
// Background, sprite and mask sheets, the Pane places), our plain frame and
// the SDL2 peer frame over the same scene, and the scene set up through the
// engine in a headless session.
#pragma once
#include "session/Headless.h"

#include <QImage>

#include <string>
#include <vector>

namespace qvbench {

constexpr int SheetW = 1000;
constexpr int SheetH = 2000;
constexpr int CellSize = 200;

// The Boards measured: 50 Panes of 200 x 200 on the 1024 x 764 Board, 4 of
// 100 x 100 on 320 x 240, and 50 of 200 x 200 on the Max Board of a
// 1920 x 1080 window.
enum class Scene { Board1024, Board320, Max1920 };
constexpr Scene Scenes[] = {Scene::Board1024, Scene::Board320, Scene::Max1920};

struct SceneSetup {
  const char* name;
  int boardEntry;  // in the Board size list; 4 is "Max x Max"
  QSize window;    // the main window's inner size
  int panes;
  int paneSize;
};
const SceneSetup& setupOf(Scene scene);
// The Board's size as the engine lays it out for the scene.
QSize boardSizeOf(Scene scene);

// Where one Pane is drawn and which cell of the sheets it shows.
struct PanePlace {
  int x, y;    // on the Board; some lie partly off each edge
  int sx, sy;  // on the sheets
};

// The scene's spread-out Pane places, the same every run.
const std::vector<PanePlace>& panePlaces(Scene scene = Scene::Board1024);

// The pictures of one frame, each with its own pixel buffer. In each cell of
// the sprite sheet a disc fills about 69% of the Pane's square and the rest
// is true black; the mask sheet is white exactly there and black elsewhere;
// no opaque sprite pixel is black.
struct FrameScene {
  QImage board, background, sprites, masks;
  explicit FrameScene(Scene scene = Scene::Board1024);
};

// Our plain frame on the 1024 x 764 scene: restore the Board from the
// Background with a SRCCOPY block copy, then draw the 50 Panes transparently.
void oursRestore(FrameScene& s);
void oursFrameFused(FrameScene& s);    // qv::BlitTransparent per Pane
void oursFrameTwoStep(FrameScene& s);  // mask SRCAND, then sprite SRCPAINT

// The SDL2 peer over the same scene, in software XRGB8888 surfaces: restore
// with SDL_BlitSurface, then one colour-keyed (black) blit per Pane. The
// surfaces are made on first use (sdlPeerReady) and live until exit.
enum class PeerMode {
  ColorKey,     // colour key, RLE off, blits from the sheet
  ColorKeyRle,  // colour key, RLE on, blits from the sheet
  // SDL_SetColorKey with SDL_RLEACCEL on one surface per Cel, as sprites
  // loaded one per surface are drawn: SDL2's best software mode, which reads
  // only the pixels that are drawn (RLE blits must walk the runs above the
  // source rectangle, so blitting from a tall RLE sheet is slow).
  ColorKeyRleCels,
};
void sdlPeerReady(Scene scene = Scene::Board1024);
void sdlPeerRestore();
void sdlPeerFrame(PeerMode mode, Scene scene = Scene::Board1024);
// Bytes of pixels in the peer's per-Cel surfaces (their run-length data,
// kept by SDL2 out of sight, comes on top).
size_t sdlPeerCelBytes(Scene scene);
// The Board pixels whose RGB differs between `board` and the peer's Board
// after one frame drawn in each mode, as " <mode>: N pixels;" per mode that
// differs; empty when all agree.
std::string sdlPeerDifferences(const QImage& board, Scene scene = Scene::Board1024);

// Sets the scene up in a session through the engine: the Board from the
// size list, the Background in use, and the Transparent Panes added with
// AddPane at panePlaces(). Place i goes to slot n - i, so the Board is drawn
// in the frame's order (slot n first); each slot's sheet cell holds the
// sprite pixels of its place's cell and its mask is built by BuildPaneMask.
// RedrawBoard then draws the frame's picture.
void buildPaneScene(qv::HeadlessSession& s, Scene scene = Scene::Board1024);
// A session holding the scene, painting its Board in layers or the plain
// way; one per scene, way and use, built on first use and kept to the end.
qv::HeadlessSession& sceneSession(Scene scene, bool layered, const char* use);
// Gives the first `panes` slots the RunFrame benchmark's motion: movement
// types 1..5 in turn, starting in the direction of the type, speeds 1..3,
// Rebound on every Pane; every third Pane flips on bounds and every fourth
// is a 2 x 2 Cel grid that advances every frame.
void setRunMotion(qv::HeadlessSession& s, int panes = qv::MaxPanes);

}  // namespace qvbench
