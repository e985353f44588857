#include "render/gl_extensions.h"

#include "platform/platform.h"

#include <cstring>

namespace arb {

PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;

PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB = nullptr;
PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB = nullptr;
PFNGLCOMPILESHADERARBPROC glCompileShaderARB = nullptr;
PFNGLLINKPROGRAMARBPROC glLinkProgramARB = nullptr;
PFNGLGETINFOLOGARBPROC glGetInfoLogARB = nullptr;
PFNGLDELETEOBJECTARBPROC glDeleteObjectARB = nullptr;
PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB = nullptr;
PFNGLSHADERSOURCEARBPROC glShaderSourceARB = nullptr;
PFNGLATTACHOBJECTARBPROC glAttachObjectARB = nullptr;
PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB = nullptr;
PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB = nullptr;
PFNGLUNIFORM4FARBPROC glUniform4fARB = nullptr;
PFNGLUNIFORM3FARBPROC glUniform3fARB = nullptr;
PFNGLUNIFORM2FARBPROC glUniform2fARB = nullptr;
PFNGLUNIFORM1FARBPROC glUniform1fARB = nullptr;
PFNGLUNIFORM1IARBPROC glUniform1iARB = nullptr;
PFNGLUNIFORMMATRIX4FVARBPROC glUniformMatrix4fvARB = nullptr;

}  // namespace arb

bool multitextureSupported = false;
int textureUnitCount = 0;

namespace {

template <typename Pointer>
bool fetch(Pointer& pointer, const char* name) {
    pointer = reinterpret_cast<Pointer>(platform::glProcAddress(name));
    return pointer != nullptr;
}

const char* extensionString() {
    return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
}

}  // namespace

bool extensionWordPresent(const char* extensions, std::string_view word) {
    if (!extensions || word.empty()) return false;
    std::string_view rest(extensions);
    while (!rest.empty()) {
        size_t space = rest.find(' ');
        std::string_view candidate = rest.substr(0, space);
        if (candidate == word) return true;
        if (space == std::string_view::npos) break;
        rest.remove_prefix(space + 1);
    }
    return false;
}

bool loadMultitextureExtensions() {
    const char* extensions = extensionString();
    multitextureSupported = false;
    textureUnitCount = 0;
    if (!extensionWordPresent(extensions, "GL_ARB_multitexture") ||
        !extensionWordPresent(extensions, "GL_EXT_texture_env_combine"))
        return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    bool all = fetch(arb::glMultiTexCoord1fARB, "glMultiTexCoord1fARB");
    all = fetch(arb::glMultiTexCoord2fARB, "glMultiTexCoord2fARB") && all;
    all = fetch(arb::glMultiTexCoord3fARB, "glMultiTexCoord3fARB") && all;
    all = fetch(arb::glMultiTexCoord4fARB, "glMultiTexCoord4fARB") && all;
    all = fetch(arb::glActiveTextureARB, "glActiveTextureARB") && all;
    all = fetch(arb::glClientActiveTextureARB, "glClientActiveTextureARB") && all;
    // An entry point that the driver names but does not deliver leaves us
    // without multitexturing rather than with a null call later.
    multitextureSupported = all;
    textureUnitCount = all ? units : 0;
    return multitextureSupported;
}

bool loadShaderExtensions() {
    const char* extensions = extensionString();
    if (!extensions || !std::strstr(extensions, "GL_ARB_shading_language_100") ||
        !std::strstr(extensions, "GL_ARB_shader_objects"))
        return false;
    bool all = fetch(arb::glCreateProgramObjectARB, "glCreateProgramObjectARB");
    all = fetch(arb::glCreateShaderObjectARB, "glCreateShaderObjectARB") && all;
    all = fetch(arb::glCompileShaderARB, "glCompileShaderARB") && all;
    all = fetch(arb::glLinkProgramARB, "glLinkProgramARB") && all;
    all = fetch(arb::glGetInfoLogARB, "glGetInfoLogARB") && all;
    all = fetch(arb::glDeleteObjectARB, "glDeleteObjectARB") && all;
    all = fetch(arb::glUseProgramObjectARB, "glUseProgramObjectARB") && all;
    all = fetch(arb::glShaderSourceARB, "glShaderSourceARB") && all;
    all = fetch(arb::glAttachObjectARB, "glAttachObjectARB") && all;
    all = fetch(arb::glGetObjectParameterivARB, "glGetObjectParameterivARB") && all;
    all = fetch(arb::glGetUniformLocationARB, "glGetUniformLocationARB") && all;
    all = fetch(arb::glUniform4fARB, "glUniform4fARB") && all;
    all = fetch(arb::glUniform3fARB, "glUniform3fARB") && all;
    all = fetch(arb::glUniform2fARB, "glUniform2fARB") && all;
    all = fetch(arb::glUniform1fARB, "glUniform1fARB") && all;
    all = fetch(arb::glUniform1iARB, "glUniform1iARB") && all;
    all = fetch(arb::glUniformMatrix4fvARB, "glUniformMatrix4fvARB") && all;
    return all;
}
