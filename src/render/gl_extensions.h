// GL entry points fetched at run time: the ARB multitexture set (optional) and
// the ARB shader-object set (required by the renderer).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <string_view>

// The pointers live in their own namespace because GL/gl.h already declares
// functions of the same names; call them as arb::glActiveTextureARB(...).
namespace arb {

extern PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB;
extern PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB;
extern PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB;
extern PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB;
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;

extern PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB;
extern PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB;
extern PFNGLCOMPILESHADERARBPROC glCompileShaderARB;
extern PFNGLLINKPROGRAMARBPROC glLinkProgramARB;
extern PFNGLGETINFOLOGARBPROC glGetInfoLogARB;
extern PFNGLDELETEOBJECTARBPROC glDeleteObjectARB;
extern PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB;
extern PFNGLSHADERSOURCEARBPROC glShaderSourceARB;
extern PFNGLATTACHOBJECTARBPROC glAttachObjectARB;
extern PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB;
extern PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB;
extern PFNGLUNIFORM4FARBPROC glUniform4fARB;
extern PFNGLUNIFORM3FARBPROC glUniform3fARB;
extern PFNGLUNIFORM2FARBPROC glUniform2fARB;
extern PFNGLUNIFORM1FARBPROC glUniform1fARB;
extern PFNGLUNIFORM1IARBPROC glUniform1iARB;
extern PFNGLUNIFORMMATRIX4FVARBPROC glUniformMatrix4fvARB;

}  // namespace arb

// Set when the driver offers both multitexturing and texture-env-combine and
// the multitexture entry points were fetched.
extern bool multitextureSupported;
// GL_MAX_TEXTURE_UNITS_ARB when multitexturing is supported, else 0.
extern int textureUnitCount;

// True when `word` is one whole space-separated word of `extensions` (a longer
// name that merely begins with it does not count). A null list has no words.
bool extensionWordPresent(const char* extensions, std::string_view word);

// Reads GL_EXTENSIONS and fetches the multitexture set when it is offered;
// otherwise clears the flag. Returns the flag.
bool loadMultitextureExtensions();

// The shader set: needs "GL_ARB_shading_language_100" and
// "GL_ARB_shader_objects" in the extension string and all 17 entry points.
// False when anything is missing (nothing is shown).
bool loadShaderExtensions();
