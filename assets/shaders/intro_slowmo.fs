#version 330

// Cold, nearly monochrome grade for the slowed moment of the intro.
in vec2 fragTexCoord;
in vec4 fragColor;

uniform sampler2D texture0;
uniform vec4 colDiffuse;

out vec4 finalColor;

void main()
{
    vec4 c = texture(texture0, fragTexCoord) * colDiffuse * fragColor;
    float luma = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
    c.rgb = mix(c.rgb, vec3(0.32, 0.66, 1.32) * luma, 0.62);
    finalColor = c;
}
