// The map in the HUD preview's screenshot: tile layout, ground textures, walls and props.
#pragma once

#include "Canvas.h"

namespace gen {

class GameMap {
public:
    static constexpr int Tile = 32;
    static constexpr int Columns = 20;
    static constexpr int Rows = 15;

    // Ground, walls and their shadows, every pixel of the canvas.
    void paintGround(Canvas& c) const;
    // Crates, barrels, bushes and the items lying about.
    void paintProps(Canvas& c) const;

private:
    char at(int column, int row) const;
    bool wallAtPixel(float x, float y) const;
    Color stone(int x, int y) const;
    Color planks(int x, int y) const;
    Color outdoor(int x, int y) const;
    Color wall(int x, int y) const;
};

// The cast shadow every standing thing throws down and to the right.
void dropShadow(Canvas& c, const Shape& s, float dx = 5, float dy = 6, float strength = 0.38f);

} // namespace gen
