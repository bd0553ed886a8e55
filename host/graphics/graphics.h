// The host graphics classes in one include: colours, fonts, pens, brushes, canvases,
// bitmaps, icons and pictures.
#pragma once

#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/color.h"
#include "host/graphics/font.h"
#include "host/graphics/graphic.h"
#include "host/graphics/icon.h"
#include "host/graphics/pen.h"
#include "host/graphics/picture.h"
