// Where the last repaint put what it drew: the bodies of the sky view with
// the altitude and azimuth it drew them at, and the constellation labels.
// The window's tooltips read these notes, so what a tooltip says is what the
// picture shows, never a second computation. Picture pixels (530 x 300).
#pragma once
#include <vector>

#include "ephem/bodies.h"

struct SceneBody {
    bool shown = false;     // drawn (in the front half of the view)
    double az = 0, el = 0;  // degrees, az from the south + west, as Az_El gave them
    double x = 0, y = 0;    // centre of the disc, picture pixels
    double r = 0;           // radius of the disc, picture pixels
};

struct SceneLabel {
    int constellation;  // index 0..87
    long x, y;          // top left of the label's text box (300 x 30, text centred)
};

struct SceneNotes {
    SceneBody bodies[kPanelBodies];  // by body index (ephem/bodies.h)
    std::vector<SceneLabel> labels;  // in drawing order
};

// The notes of the last repaint (written by Disp4 and DispStar).
const SceneNotes& Scene_Notes();
SceneNotes& Scene_NotesToWrite();
