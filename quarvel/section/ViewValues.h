#pragma once

// Where the world origin sits on the drawing area and how many world units one pixel spans.
// Nodes convert between pixels and world coordinates with these values.
struct ViewValues {
    int OriginX = 0;
    int OriginY = 0;
    double Scale = 1.0; // world units per pixel, always positive
};
