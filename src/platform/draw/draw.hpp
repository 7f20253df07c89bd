// The platform's drawing library, as other libraries see it: pixmaps, images, the built-in
// font and the 2D drawing context over OpenGL. Depends on the system library.
#pragma once

#include "platform/draw/driver.hpp"
#include "platform/draw/graphics.hpp"
#include "platform/draw/image.hpp"
#include "platform/draw/image_font.hpp"
#include "platform/draw/pixmap.hpp"
#include "platform/system/system.hpp"
