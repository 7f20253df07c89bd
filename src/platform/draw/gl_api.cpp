// The OpenGL calls that exist in only one of the two APIs, each with its stand-in for the other.
#include "platform/draw/detail/gl_api.hpp"

namespace glapi {
const char* ShaderPrologue() {
    if constexpr (kWebGl) {
        return "#version 300 es\nprecision highp float;\nprecision highp int;\n"
               "#define NOPERSPECTIVE\n#define WRITE_POINT_SIZE 1\n";
    }
    return "#version 330 core\n#define NOPERSPECTIVE noperspective\n#define WRITE_POINT_SIZE 0\n";
}

#if defined(__EMSCRIPTEN__)
GLenum WindowColourBuffer() {
    return GL_BACK;
}

void DrawElementsBaseVertex(GLenum, GLsizei, GLenum, GLint) {}

void UnmapArrayBuffer(GLsizeiptr) {}

bool TextureSizeAccepted(int tw, int th) {
    GLint most = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    return tw <= most && th <= most;
}

// Through a framebuffer of its own, as OpenGL ES cannot read a texture directly.
void ReadTexture(GLuint texture, int tw, int th, void* out) {
    GLint fbo = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &fbo);
    GLuint reader = 0;
    glGenFramebuffers(1, &reader);
    glBindFramebuffer(GL_FRAMEBUFFER, reader);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glReadPixels(0, 0, tw, th, GL_RGBA, GL_UNSIGNED_BYTE, out);
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(fbo));
    glDeleteFramebuffers(1, &reader);
}
#else
GLenum WindowColourBuffer() {
    return GL_BACK_LEFT;
}

void DrawElementsBaseVertex(GLenum mode, GLsizei count, GLenum type, GLint base_vertex) {
    glDrawElementsBaseVertex(mode, count, type, nullptr, base_vertex);
}

void UnmapArrayBuffer(GLsizeiptr written) {
    if (written > 0) glFlushMappedBufferRange(GL_ARRAY_BUFFER, 0, written);
    glUnmapBuffer(GL_ARRAY_BUFFER);
}

bool TextureSizeAccepted(int tw, int th) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint w = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    return w != 0;
}

void ReadTexture(GLuint, int, int, void* out) {
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
}
#endif
}  // namespace glapi
