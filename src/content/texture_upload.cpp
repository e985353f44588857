#include "content/texture_upload.h"

#include <GL/gl.h>
#include <GL/glu.h>

bool uploadTexture(uint32_t texture, const uint8_t* pixels, int width, int height,
                   int components, const TextureParams& params) {
    if (!pixels || width <= 0 || height <= 0 || (components != 3 && components != 4)) return false;
    const GLenum format = components == 3 ? GL_RGB : GL_RGBA;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, params.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, params.magFilter);
    if (params.wrap != 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, params.wrap);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, params.wrap);
    }
    // Rows are tightly packed; the default 4-byte alignment would misread
    // RGB images whose row length is not a multiple of 4.
    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bool ok = true;
    if (params.mipmaps) {
        ok = gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format,
                               GL_UNSIGNED_BYTE, pixels) == 0;
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE,
                     pixels);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
    return ok;
}

uint32_t createTexture(const uint8_t* pixels, int width, int height, int components,
                       const TextureParams& params) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (!uploadTexture(texture, pixels, width, height, components, params)) {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

void deleteTexture(uint32_t& texture) {
    if (texture == 0) return;
    GLuint name = texture;
    glDeleteTextures(1, &name);
    texture = 0;
}
