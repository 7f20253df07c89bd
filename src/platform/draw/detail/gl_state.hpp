// The OpenGL state the drawing driver touches, cached so that every change goes through one
// setter that skips what is already set. Internal to the OpenGL back end; needs a current context.
#pragma once

#include "platform/draw/detail/gl_api.hpp"

class TGLStateCache {
  public:
    // Forgets everything, so the next call of each setter reaches OpenGL.
    void Forget();
    void BindTexture(GLuint name);
    void BindVertexArray(GLuint name);
    // `src_alpha`, when not 0, weighs the source's alpha channel apart from its colour.
    void Blend(bool on, GLenum src, GLenum dst, GLenum src_alpha = 0);
    void Scissor(bool on);
    void ScissorBox(int x, int y, int w, int h);
    // Projection of a w x h logical area onto the whole target, given to each program when it
    // is next used.
    void Projection(float w, float h);
    // The shader programs to choose from, with the location of their projection uniform.
    void SetPrograms(const GLuint* programs, const GLint* scale_locs, int count);
    // Makes program `index` current, with the current projection.
    void UseProgram(int index);
    GLuint BoundTexture() const { return texture_; }

  private:
    GLuint texture_ = 0;
    GLuint vertex_array_ = 0;
    int blend_on_ = -1;
    GLenum blend_src_ = 0, blend_dst_ = 0, blend_src_alpha_ = 0;
    int scissor_on_ = -1;
    int box_[4] = {-1, -1, -1, -1};
    static constexpr int kMaxPrograms = 16;
    float proj_w_ = 1, proj_h_ = 1;
    GLuint programs_[kMaxPrograms] = {};
    GLint scale_locs_[kMaxPrograms] = {};
    float given_w_[kMaxPrograms] = {}, given_h_[kMaxPrograms] = {};  // projection each one has
    int program_ = -1;
    bool texture_known_ = false;
    bool vertex_array_known_ = false;
};
