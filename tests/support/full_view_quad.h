#pragma once
// Draws one quad over the whole view with identity matrices, texture coordinates from (0, 0) at the
// bottom left to (1, 1) at the top right, in the current colour and GL state.
void DrawFullViewQuad();
