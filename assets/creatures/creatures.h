// The pose-able creature models. Each call paints one animation frame of one facing into a
// transparent size x size cairo surface, composed so the sprite's anchor lands on the ground point.
// Arguments out of range paint nothing.
#pragma once

#include <cairo.h>

// direction 0..7 looks along direction x 45 degrees (0 right, 2 towards the viewer); frame 0..6:
// 0 idle, 1-4 walk, 5-6 shout.
void paintScarecrow(cairo_t* cr, int size, int direction, int frame);
// facing 0..7 (x 45 degrees); frame 0..7: 0-3 wing flap, 4-5 peck, 6-7 scared.
void paintCrow(cairo_t* cr, int size, int facing, int frame);
void paintPelican(cairo_t* cr, int size, int facing, int frame);
// facing 0..3 (x 90 degrees); frame 0..4: 0 standing, 1-2 one step, 3-4 the other.
void paintCow(cairo_t* cr, int size, int facing, int frame);
