#include "render/shader_programs.h"

#include "app/file_io.h"
#include "platform/platform.h"

#include <cstdio>
#include <vector>

LightProgram lightProgram;
LightProgram sceneryProgram;
BlurProgram blurProgram;
HdrProgram hdrProgram;
RadialBlurProgram radialBlurProgram;
TreesProgram treesProgram;

namespace {

GLhandleARB currentProgram = 0;

template <typename Program>
struct UniformName {
    const char* name;
    GLint Program::*location;
};

#define NR_UNIFORM(Program, field) UniformName<Program>{#field, &Program::field}

const UniformName<LightProgram> lightUniforms[] = {
    NR_UNIFORM(LightProgram, lightColorGlobal), NR_UNIFORM(LightProgram, lightColorLocal),
    NR_UNIFORM(LightProgram, lightOri),         NR_UNIFORM(LightProgram, lightPos),
    NR_UNIFORM(LightProgram, light2Pos),        NR_UNIFORM(LightProgram, light3Pos),
    NR_UNIFORM(LightProgram, light4Pos),        NR_UNIFORM(LightProgram, light5Pos),
    NR_UNIFORM(LightProgram, ambientColor),     NR_UNIFORM(LightProgram, matAmbient),
    NR_UNIFORM(LightProgram, matDiffuse),       NR_UNIFORM(LightProgram, matSpecular),
    NR_UNIFORM(LightProgram, emissive),         NR_UNIFORM(LightProgram, shininess),
    NR_UNIFORM(LightProgram, cameraPos),        NR_UNIFORM(LightProgram, cameraOri),
    NR_UNIFORM(LightProgram, decal),            NR_UNIFORM(LightProgram, decal2),
    NR_UNIFORM(LightProgram, decal3),           NR_UNIFORM(LightProgram, RefInt),
    NR_UNIFORM(LightProgram, GlassNow),         NR_UNIFORM(LightProgram, GlassAlpha),
    NR_UNIFORM(LightProgram, LightNow),         NR_UNIFORM(LightProgram, StrongLightNow),
    NR_UNIFORM(LightProgram, NoiseNow),
};

const UniformName<BlurProgram> blurUniforms[] = {
    NR_UNIFORM(BlurProgram, texOffset), NR_UNIFORM(BlurProgram, intensity), NR_UNIFORM(BlurProgram, decal)};

const UniformName<HdrProgram> hdrUniforms[] = {
    NR_UNIFORM(HdrProgram, exposure), NR_UNIFORM(HdrProgram, gamma), NR_UNIFORM(HdrProgram, decal),
    NR_UNIFORM(HdrProgram, decal2)};

const UniformName<RadialBlurProgram> radialUniforms[] = {
    NR_UNIFORM(RadialBlurProgram, speed), NR_UNIFORM(RadialBlurProgram, decal)};

const UniformName<TreesProgram> treesUniforms[] = {
    NR_UNIFORM(TreesProgram, lightColorLocal), NR_UNIFORM(TreesProgram, lightPos),
    NR_UNIFORM(TreesProgram, light2Pos),       NR_UNIFORM(TreesProgram, light3Pos),
    NR_UNIFORM(TreesProgram, light4Pos),       NR_UNIFORM(TreesProgram, light6Pos),
    NR_UNIFORM(TreesProgram, light7Pos),       NR_UNIFORM(TreesProgram, light8Pos),
    NR_UNIFORM(TreesProgram, light9Pos),       NR_UNIFORM(TreesProgram, ambientColor),
    NR_UNIFORM(TreesProgram, matAmbient),      NR_UNIFORM(TreesProgram, matDiffuse),
    NR_UNIFORM(TreesProgram, emissive),        NR_UNIFORM(TreesProgram, shininess),
    NR_UNIFORM(TreesProgram, decal),
};

#undef NR_UNIFORM

constexpr int infoLogLimit = 4096;

// Creates, compiles and attaches one stage. The compile status is not acted
// upon: a stage that does not compile makes the link fail, which reports it.
bool attachStage(GLhandleARB program, GLenum stage, const std::string& path, const char* define) {
    std::optional<std::string> source = readShaderSource(path);
    if (!source) {
        std::fprintf(stderr, "Nightrun: shader %s is missing or cannot be read\n", path.c_str());
        return false;
    }
    if (define) {
        // After the #version line, which must stay first.
        const size_t lineEnd = source->compare(0, 8, "#version") == 0 ? source->find('\n') : std::string::npos;
        const size_t at = lineEnd == std::string::npos ? 0 : lineEnd + 1;
        source->insert(at, std::string("#define ") + define + "\n");
    }
    GLhandleARB shader = arb::glCreateShaderObjectARB(stage);
    const GLcharARB* text = source->c_str();
    const GLint length = static_cast<GLint>(source->size());
    arb::glShaderSourceARB(shader, 1, &text, &length);
    arb::glCompileShaderARB(shader);
    GLint compiled = 0;
    arb::glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    arb::glAttachObjectARB(program, shader);
    // Attached, the object lives on with the program.
    arb::glDeleteObjectARB(shader);
    return true;
}

// Builds "base/shaders/<name>VS.glsl" + "<name>PS.glsl", with `define` set
// in the pixel stage when given; 0 on failure.
GLhandleARB buildProgram(const char* name, const char* define = nullptr) {
    const std::string stem = std::string("base/shaders/") + name;
    GLhandleARB program = arb::glCreateProgramObjectARB();
    if (!attachStage(program, GL_VERTEX_SHADER_ARB, stem + "VS.glsl", nullptr) ||
        !attachStage(program, GL_FRAGMENT_SHADER_ARB, stem + "PS.glsl", define)) {
        arb::glDeleteObjectARB(program);
        return 0;
    }
    arb::glLinkProgramARB(program);
    GLint linked = 0;
    arb::glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) {
        std::string log(infoLogLimit, '\0');
        GLsizei written = 0;
        arb::glGetInfoLogARB(program, infoLogLimit, &written, log.data());
        log.resize(written > 0 && written < infoLogLimit ? size_t(written) : 0);
        if (log.empty()) log = stem + "VS.glsl and " + stem + "PS.glsl did not link.";
        platform::messageBox(log, "Error linking shaders...", platform::MessageButtons::Ok,
                             platform::MessageIcon::Exclamation);
        arb::glDeleteObjectARB(program);
        return 0;
    }
    return program;
}

template <typename Program, size_t Count>
bool buildWithUniforms(Program& target, const char* name, const UniformName<Program> (&uniforms)[Count],
                       const char* define = nullptr) {
    target = Program{};
    target.program = buildProgram(name, define);
    if (!target.program) return false;
    for (const UniformName<Program>& uniform : uniforms)
        target.*uniform.location = arb::glGetUniformLocationARB(target.program, uniform.name);
    return true;
}

void setSampler(GLint location, int unit) {
    if (location >= 0) arb::glUniform1iARB(location, unit);
}

// Sampler values belong to the program object, so they are set once.
void bindSamplers() {
    for (const LightProgram* p : {&lightProgram, &sceneryProgram}) {
        arb::glUseProgramObjectARB(p->program);
        setSampler(p->decal, 0);
        setSampler(p->decal2, 1);
        setSampler(p->decal3, 2);
    }
    arb::glUseProgramObjectARB(blurProgram.program);
    setSampler(blurProgram.decal, 0);
    arb::glUseProgramObjectARB(hdrProgram.program);
    setSampler(hdrProgram.decal, 0);
    setSampler(hdrProgram.decal2, 1);
    arb::glUseProgramObjectARB(radialBlurProgram.program);
    setSampler(radialBlurProgram.decal, 0);
    arb::glUseProgramObjectARB(treesProgram.program);
    setSampler(treesProgram.decal, 0);
    useProgram(0);
}

template <typename Program, size_t Count>
void listMissing(std::vector<std::string>& out, const char* programName, const Program& program,
                 const UniformName<Program> (&uniforms)[Count]) {
    for (const UniformName<Program>& uniform : uniforms)
        if (program.*uniform.location < 0) out.push_back(std::string(programName) + ": " + uniform.name);
}

}  // namespace

void useProgram(GLhandleARB program) {
    arb::glUseProgramObjectARB(program);
    currentProgram = program;
}

GLhandleARB boundProgram() { return currentProgram; }

const LightProgram& boundLightProgram() {
    return currentProgram != 0 && currentProgram == sceneryProgram.program ? sceneryProgram : lightProgram;
}

bool lightProgramBound() {
    return currentProgram != 0 && (currentProgram == lightProgram.program || currentProgram == sceneryProgram.program);
}

bool shadersReady() {
    return platform::hasGlContext() && lightProgram.program != 0 && blurProgram.program != 0 && hdrProgram.program != 0 &&
           radialBlurProgram.program != 0 && treesProgram.program != 0 && sceneryProgram.program != 0;
}

std::optional<std::string> readShaderSource(const std::string& path) {
    // Our sources are a few kilobytes; a megabyte is more than any program needs.
    std::vector<uint8_t> bytes;
    if (readFileBounded(path, size_t(1) << 20, bytes) != ReadStatus::Ok) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

bool buildShaderPrograms() {
    lightProgram = LightProgram{};
    sceneryProgram = LightProgram{};
    blurProgram = BlurProgram{};
    hdrProgram = HdrProgram{};
    radialBlurProgram = RadialBlurProgram{};
    treesProgram = TreesProgram{};
    if (!buildWithUniforms(lightProgram, "Light", lightUniforms)) return false;
    if (!buildWithUniforms(blurProgram, "Blur", blurUniforms)) return false;
    if (!buildWithUniforms(hdrProgram, "HDR", hdrUniforms)) return false;
    if (!buildWithUniforms(radialBlurProgram, "RadialBlur", radialUniforms)) return false;
    if (!buildWithUniforms(treesProgram, "Trees", treesUniforms)) return false;
    if (!buildWithUniforms(sceneryProgram, "Light", lightUniforms, "SCENERY")) return false;
    bindSamplers();
    return true;
}

std::vector<std::string> missingUniforms() {
    std::vector<std::string> out;
    listMissing(out, "Light program", lightProgram, lightUniforms);
    listMissing(out, "Blur program", blurProgram, blurUniforms);
    listMissing(out, "HDR program", hdrProgram, hdrUniforms);
    listMissing(out, "Radial blur program", radialBlurProgram, radialUniforms);
    listMissing(out, "Trees program", treesProgram, treesUniforms);
    return out;
}
