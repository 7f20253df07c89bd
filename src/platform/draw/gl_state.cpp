// Cached OpenGL state setters of the drawing driver.
#include "platform/draw/detail/gl_state.hpp"

void TGLStateCache::Forget() {
    texture_known_ = false;
    vertex_array_known_ = false;
    blend_on_ = -1;
    blend_src_ = blend_dst_ = blend_src_alpha_ = 0;
    scissor_on_ = -1;
    box_[0] = box_[1] = box_[2] = box_[3] = -1;
    program_ = -1;
    for (int i = 0; i < kMaxPrograms; ++i)
        given_w_[i] = given_h_[i] = -1;
}

void TGLStateCache::BindTexture(GLuint name) {
    if (texture_known_ && texture_ == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    texture_ = name;
    texture_known_ = true;
}

void TGLStateCache::BindVertexArray(GLuint name) {
    if (vertex_array_known_ && vertex_array_ == name) return;
    glBindVertexArray(name);
    vertex_array_ = name;
    vertex_array_known_ = true;
}

void TGLStateCache::Blend(bool on, GLenum src, GLenum dst, GLenum src_alpha) {
    if (blend_on_ != int(on)) {
        if (on) {
            glEnable(GL_BLEND);
        } else {
            glDisable(GL_BLEND);
        }
        blend_on_ = on;
    }
    if (on && (src != blend_src_ || dst != blend_dst_ || src_alpha != blend_src_alpha_)) {
        if (src_alpha) {
            glBlendFuncSeparate(src, dst, src_alpha, dst);
        } else {
            glBlendFunc(src, dst);
        }
        blend_src_ = src;
        blend_dst_ = dst;
        blend_src_alpha_ = src_alpha;
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
    // OpenGL ignores a negative size: recording it would make the cache lie.
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    if (box_[0] == x && box_[1] == y && box_[2] == w && box_[3] == h) return;
    glScissor(x, y, w, h);
    box_[0] = x, box_[1] = y, box_[2] = w, box_[3] = h;
}

void TGLStateCache::Projection(float w, float h) {
    proj_w_ = w;
    proj_h_ = h;
}

void TGLStateCache::SetPrograms(const GLuint* programs, const GLint* scale_locs, int count) {
    for (int i = 0; i < kMaxPrograms; ++i) {
        programs_[i] = i < count ? programs[i] : 0;
        scale_locs_[i] = i < count ? scale_locs[i] : -1;
        given_w_[i] = given_h_[i] = -1;
    }
    program_ = -1;
}

void TGLStateCache::UseProgram(int index) {
    if (index != program_) {
        glUseProgram(programs_[index]);
        program_ = index;
    }
    if (given_w_[index] != proj_w_ || given_h_[index] != proj_h_) {
        glUniform2f(scale_locs_[index], 2.0f / proj_w_, 2.0f / proj_h_);
        given_w_[index] = proj_w_;
        given_h_[index] = proj_h_;
    }
}
