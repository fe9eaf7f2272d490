// Placeholder: replaced by the real models.
#include "creatures/creatures.h"

void paintScarecrow(cairo_t*, int, int, int) {}
void paintCrow(cairo_t*, int, int, int) {}
void paintPelican(cairo_t*, int, int, int) {}
void paintCow(cairo_t*, int, int, int) {}
