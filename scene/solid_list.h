// The solid list: display list 1, recorded once per scene window creation,
// which draws the whole solid (panel, pyramid or cube) with its pictures.
// Every copy a frame draws is one call of it.
#pragma once

constexpr unsigned kSolidList = 1;  // a fixed list number, not one from the allocator

// Specifies each used slot's texture image once into a texture object of its
// own and records list 1. Needs the scene's context current, GL_TEXTURE_2D
// enabled and the unpack alignment at 1; the slots filled and made opaque.
void buildSolidList();
