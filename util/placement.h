// The text form of a remembered dialog position ("left,top" or "left,top,width,height") and
// the arithmetic that turns it into a window geometry. Pure: no windows involved.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

struct TPlacementRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TPlacementRect&) const = default;
};

// The geometry that a stored placement text gives a window whose outer geometry is Current,
// on a primary screen of ScreenWidth x ScreenHeight. A left edge of 0 or less, or a negative
// top, restores nothing (Current comes back). Positions are kept 20 pixels inside the right
// and bottom screen edges. The size changes only when WithSize is set and both stored
// dimensions are positive.
TPlacementRect ApplyPlacement(std::string_view Text, int ScreenWidth, int ScreenHeight,
                              const TPlacementRect& Current, bool WithSize);

// The stored text of a window's outer geometry.
std::string PlacementText(const TPlacementRect& Geometry, bool WithSize);

} // namespace quillet
