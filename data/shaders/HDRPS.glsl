#version 110
// Bright pass of the glow: only what is brighter than `exposure` survives,
// stretched back to 0..1 and shaped by `gamma` (above 1 keeps the brightest
// parts and darkens the rest). The previous frame's blurred glow (decal2, a
// luminance image) lifts areas that already glowed and tones down new ones,
// which steadies the bloom from frame to frame.

uniform float exposure;
uniform float gamma;
uniform sampler2D decal;
uniform sampler2D decal2;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec3 c = texture2D(decal, uv).rgb;
    vec3 over = clamp((c - exposure) / max(1.0 - exposure, 0.001), 0.0, 1.0);
    vec3 bright = pow(over, vec3(max(gamma, 0.01)));
    float previous = texture2D(decal2, uv).r;
    gl_FragColor = vec4(bright * (0.7 + 0.6 * previous), 1.0);
}
