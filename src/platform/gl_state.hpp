// The OpenGL state the drawing driver touches, cached so that every change goes through one
// setter that skips what is already set. Internal to the OpenGL back end; needs a current context.
#pragma once

#include <epoxy/gl.h>

class TGLStateCache {
  public:
    // Forgets everything, so the next call of each setter reaches OpenGL.
    void Forget();
    void BindTexture(GLuint name);
    void Blend(bool on, GLenum src, GLenum dst);
    void Scissor(bool on);
    void ScissorBox(int x, int y, int w, int h);
    // Alpha test of the fragment shader: fragments whose alpha byte is below 128 are dropped.
    void AlphaTest(bool on);
    // Projection of a w x h logical area onto the whole target.
    void Projection(float w, float h);
    void UseProgram(GLuint program, GLint alpha_test_loc, GLint scale_loc);
    GLuint BoundTexture() const { return texture_; }

  private:
    GLuint texture_ = 0;
    int blend_on_ = -1;
    GLenum blend_src_ = 0, blend_dst_ = 0;
    int scissor_on_ = -1;
    int box_[4] = {-1, -1, -1, -1};
    int alpha_test_ = -1;
    float proj_w_ = -1, proj_h_ = -1;
    GLuint program_ = 0;
    GLint alpha_test_loc_ = -1, scale_loc_ = -1;
    bool texture_known_ = false;
};
