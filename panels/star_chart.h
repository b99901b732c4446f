// The star chart's pieces: projection choice, the frame and grid of the
// straight-axis charts, one figure, the catalogue pass. DispStar (panels.h)
// strings them together; the pieces are separate so that each can be drawn
// for given stars without waiting for the sky to put them there.
#pragma once
#include "panels/constellations.h"

class WSCvdrawingArea;

// Frame of projections 2 and 3, pixels: the bounds box scaled about its centre.
struct StarFrame {
    double left = 0, right = 0, top = 0, bottom = 0;
};

// One star placed by a projection: the vertex (px, py) of the polyline, the
// dot anchor (x1, y1), and the offset of the texts beside the star.
struct StarPlace {
    double px = 0, py = 0;
    double x1 = 0, y1 = 0;
    int dx = 0, dy = 0;
};

// Vertices of slots 0..21 of one figure; x = 0 marks an empty slot.
struct FigureSlots {
    double x[22] = {};
    double y[22] = {};
};

// Frame of projections 2 and 3 from X_MIN..Y_MAX and scale; writes the centre
// of the bounds box to X0, Y0.
StarFrame StarChart_Frame();

// Grid of projections 2 and 3: black lines every X_DISP, Y_DISP degrees,
// then the red axes through X0, Y0 (the colour left in force).
void StarChart_Grid(WSCvdrawingArea* area, const StarFrame& frame);

// Place a star by projection select (1..4) with dot radius R. az, el from
// Az_El; ra, dec (degrees) for projection 2. Returns false when the star is
// not drawn: behind the viewer in projection 4, or an unknown projection.
bool StarChart_Project(int select, double az, double el, double ra, double dec, double R,
                       const StarFrame& frame, StarPlace* place);

// Dot of the star being drawn: radius SS * ss_s * scale about the anchor.
void StarChart_Dot(WSCvdrawingArea* area, const StarPlace& place);

// Dot colour of a colour class 1..7; null for any other class.
const char* StarChart_ClassColour(int colour_class);

// Figure of constellation index c from the given rows: dots, the m_seiza2
// texts, the slots, then StarChart_FigureLines.
void StarChart_Figure(WSCvdrawingArea* area, int c, const FigureRow* rows, int n,
                      const StarFrame& frame);

// Label of constellation index c at slot 1 and the red polyline through
// slots 2, 3, ... up to the first empty one; nothing when slot 1 is empty.
void StarChart_FigureLines(WSCvdrawingArea* area, int c, const FigureSlots& slots);

// Catalogue pass: every Star_table star as a green dot with its number,
// designation and name (fills the shared record Star).
void StarChart_Catalogue(WSCvdrawingArea* area, const StarFrame& frame);

// Whether the figure stars of the view (projection 4) that cannot have moved
// by a pixel since they were placed are drawn as they were (on by default;
// off, every star is placed anew each repaint, for the tests' comparison).
void StarChart_KeepPlaces(bool on);

