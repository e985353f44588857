#version 110
// Screen-effect pass: one textured quad, coordinates passed straight on.

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
