#include "render/star_sprite.h"

#include "render/scene.h"
#include "shell/gl_api.h"

void BeginStarSprites()
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, SceneState.StarTexture.glName);
}

void EndStarSprites()
{
    glDisable(GL_TEXTURE_2D);
}

namespace {

// A rim vertex: the star's centre plus h times a corner offset, each
// coordinate summed in double and handed over in single precision.
inline void RimVertex(const StarRecord& star, float h, const float corner[3])
{
    glVertex3f(static_cast<float>(h * corner[0] + star.X),
               static_cast<float>(h * corner[1] + star.Y),
               static_cast<float>(h * corner[2] + star.Z));
}

}  // namespace

void DrawStarSprite(const StarRecord& star)
{
    const float h = static_cast<float>(star.Size * 0.2f);
    const float red = static_cast<float>(star.Red);

    glBegin(GL_TRIANGLE_FAN);
    glColor4f(red, static_cast<float>(star.Green), static_cast<float>(star.Blue), 1);
    glTexCoord2f(0.5f, 0.5f);
    const double centre[3] = { star.X, star.Y, star.Z };
    glVertex3dv(centre);

    // The rim keeps the star's red with no green, blue or alpha: with additive
    // blending the green and blue fade faster than the red, giving the fringe.
    glColor4f(red, 0, 0, 0);
    glTexCoord2f(0, 1);
    RimVertex(star, h, SceneState.CornerUpperLeft);
    glColor4f(red, 0, 0, 0);
    glTexCoord2f(0, 0);
    RimVertex(star, h, SceneState.CornerLowerLeft);
    glColor4f(red, 0, 0, 0);
    glTexCoord2f(1, 0);
    RimVertex(star, h, SceneState.CornerLowerRight);
    glColor4f(red, 0, 0, 0);
    glTexCoord2f(1, 1);
    RimVertex(star, h, SceneState.CornerUpperRight);
    glColor4f(red, 0, 0, 0);
    glTexCoord2f(0, 1);
    RimVertex(star, h, SceneState.CornerUpperLeft);
    glEnd();
}
