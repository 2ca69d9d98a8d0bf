// The OpenGL state the scene sets once, while its window is being created.
#pragma once

// Before the textures are specified and the solid list recorded: no alpha
// test, 2-D texturing on, texel rows packed without padding.
void SetTextureUploadState();

// After the list is recorded, never changed again: no texture coordinate
// generation, decal environment (opaque texels show unchanged, lighting shows
// only on untextured faces), clamped and nearest-texel textures, fastest
// perspective correction.
void SetFixedTextureState();
