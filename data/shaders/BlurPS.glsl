#version 110
// Separable Gaussian blur, nine taps along one axis. texOffset.xy is the tap
// spacing in texture units; texOffset.zw picks the axis: (1, 0) horizontal,
// (0, 1) vertical. The sum is scaled by intensity.

uniform vec4 texOffset;
uniform float intensity;
uniform sampler2D decal;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec2 tap = texOffset.xy * texOffset.zw;
    vec3 sum = texture2D(decal, uv).rgb * 0.2270270;
    sum += (texture2D(decal, uv + tap).rgb + texture2D(decal, uv - tap).rgb) * 0.1945946;
    sum += (texture2D(decal, uv + 2.0 * tap).rgb + texture2D(decal, uv - 2.0 * tap).rgb) * 0.1216216;
    sum += (texture2D(decal, uv + 3.0 * tap).rgb + texture2D(decal, uv - 3.0 * tap).rgb) * 0.0540541;
    sum += (texture2D(decal, uv + 4.0 * tap).rgb + texture2D(decal, uv - 4.0 * tap).rgb) * 0.0162162;
    gl_FragColor = vec4(sum * intensity, 1.0);
}
