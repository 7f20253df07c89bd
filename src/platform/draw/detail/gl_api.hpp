// The one place where the two OpenGL APIs the drawing driver runs on differ: OpenGL 3.3 core
// on the desktop (through libepoxy) and WebGL 2, that is OpenGL ES 3.0, in the browser. The
// driver keeps one code path and asks here what the API offers. Internal to the OpenGL back end.
#pragma once

#if defined(__EMSCRIPTEN__)
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif

namespace glapi {
#if defined(__EMSCRIPTEN__)
constexpr bool kWebGl = true;
constexpr GLenum kBgra = 0;  // no BGRA uploads: such pixmaps are converted first
#else
constexpr bool kWebGl = false;
constexpr GLenum kBgra = GL_BGRA;
#endif
// glDrawElementsBaseVertex; without it the vertex attributes are pointed at the first vertex.
constexpr bool kBaseVertexDraws = !kWebGl;
// Buffer mapping; without it vertices are written into memory of the driver's own and
// uploaded with glBufferSubData, which also orders the upload after the draws before it, so
// no fence is needed either (a WebGL fence wait cannot block anyway).
constexpr bool kBufferMapping = !kWebGl;
constexpr bool kBgraUploads = !kWebGl;

// The lines that open every shader: the version, a default precision where the language
// wants one, and the macros NOPERSPECTIVE (a qualifier, or nothing where the language has none;
// the drawing is orthographic, so every interpolation is linear anyway) and WRITE_POINT_SIZE
// (1 where a point's size is undefined unless the vertex shader writes it).
const char* ShaderPrologue();
// The colour buffer of the window's framebuffer, as attachment queries name it.
GLenum WindowColourBuffer();
// glDrawElementsBaseVertex over the bound element buffer; only where kBaseVertexDraws.
void DrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, GLint base_vertex);
// Flushes the first `written` bytes of the mapped array buffer and unmaps it; only where
// kBufferMapping.
void UnmapArrayBuffer(GLsizeiptr written);
// Whether a tw x th RGBA8 texture can be made.
bool TextureSizeAccepted(int tw, int th);
// Reads level 0 of the bound 2D texture `texture`, tw x th, as RGBA bytes into `out`; the
// framebuffer binding stays as it was.
void ReadTexture(GLuint texture, int tw, int th, void* out);
}  // namespace glapi
