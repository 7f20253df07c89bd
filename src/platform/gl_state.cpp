// Cached OpenGL state setters of the drawing driver.
#include "platform/gl_state.hpp"

void TGLStateCache::Forget() {
    texture_known_ = false;
    blend_on_ = -1;
    blend_src_ = blend_dst_ = 0;
    scissor_on_ = -1;
    box_[0] = box_[1] = box_[2] = box_[3] = -1;
    alpha_test_ = -1;
    proj_w_ = proj_h_ = -1;
}

void TGLStateCache::BindTexture(GLuint name) {
    if (texture_known_ && texture_ == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    texture_ = name;
    texture_known_ = true;
}

void TGLStateCache::Blend(bool on, GLenum src, GLenum dst) {
    if (blend_on_ != int(on)) {
        if (on) {
            glEnable(GL_BLEND);
        } else {
            glDisable(GL_BLEND);
        }
        blend_on_ = on;
    }
    if (on && (src != blend_src_ || dst != blend_dst_)) {
        glBlendFunc(src, dst);
        blend_src_ = src;
        blend_dst_ = dst;
    }
}

void TGLStateCache::Scissor(bool on) {
    if (scissor_on_ == int(on)) return;
    if (on) {
        glEnable(GL_SCISSOR_TEST);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    scissor_on_ = on;
}

void TGLStateCache::ScissorBox(int x, int y, int w, int h) {
    if (box_[0] == x && box_[1] == y && box_[2] == w && box_[3] == h) return;
    glScissor(x, y, w, h);
    box_[0] = x, box_[1] = y, box_[2] = w, box_[3] = h;
}

void TGLStateCache::AlphaTest(bool on) {
    if (alpha_test_ == int(on)) return;
    glUniform1i(alpha_test_loc_, on ? 1 : 0);
    alpha_test_ = on;
}

void TGLStateCache::Projection(float w, float h) {
    if (w == proj_w_ && h == proj_h_) return;
    glUniform2f(scale_loc_, 2.0f / w, 2.0f / h);
    proj_w_ = w;
    proj_h_ = h;
}

void TGLStateCache::UseProgram(GLuint program, GLint alpha_test_loc, GLint scale_loc) {
    glUseProgram(program);
    program_ = program;
    alpha_test_loc_ = alpha_test_loc;
    scale_loc_ = scale_loc;
    alpha_test_ = -1;
    proj_w_ = proj_h_ = -1;
}
