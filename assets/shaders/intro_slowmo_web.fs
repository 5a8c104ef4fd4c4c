#version 100

precision mediump float;

// Cold, nearly monochrome grade for the slowed moment of the intro.
varying vec2 fragTexCoord;
varying vec4 fragColor;

uniform sampler2D texture0;
uniform vec4 colDiffuse;

void main()
{
    vec4 c = texture2D(texture0, fragTexCoord) * colDiffuse * fragColor;
    float luma = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
    c.rgb = mix(c.rgb, vec3(0.32, 0.66, 1.32) * luma, 0.62);
    gl_FragColor = c;
}
