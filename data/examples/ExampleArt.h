// The pictures of the example projects, drawn in code. Pane pictures that
// are shown Transparent are drawn on true black, which the mask makes
// see-through; their own dark parts are never true black.
#pragma once
#include <QImage>

namespace art {

// Backgrounds, 800 x 600.
QImage reef();
QImage blueprint();
QImage chalkboard();

// Aquarium Panes: every creature faces left, the way its Pane starts out.
// Cels side by side, each `cel` wide.
QImage clownfish(int cel, int height, int cels);
QImage tang(int cel, int height, int cels);
QImage angelfish(int cel, int height, int cels);
QImage tetras(int cel, int height, int cels);
QImage puffer(int cel, int cels);  // cels x cels, growing and shrinking
QImage crab(int cel, int height, int cels);
QImage jellyfish(int cel, int height, int cels);
QImage bubbles(int cel, int height, int cels, int seed);

// Bounce lab Panes.
QImage ball(int size, QRgb colour);
QImage spinner(int cel, int cels);
QImage bar(int width, int height, QRgb colour);
QImage arrowShip(int width, int height);

// Quiz board Panes.
QImage planet(int size, int kind);  // 0 Mars, 1 Jupiter, 2 Earth
QImage mark(int size, bool right);
QImage rocket(int width, int height);
QImage smoke(int width, int height);
QImage book(int width, int height);

}  // namespace art
