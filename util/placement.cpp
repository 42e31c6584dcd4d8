#include "util/placement.h"

#include "util/strings.h"

namespace quillet {

TPlacementRect ApplyPlacement(std::string_view Text, int ScreenWidth, int ScreenHeight,
                              const TPlacementRect& Current, bool WithSize) {
    int pos = 1;
    const int left = StrToIntSafe(NextToken(Text, pos, ","));
    if (left <= 0)
        return Current;
    const int top = StrToIntSafe(NextToken(Text, pos, ","));
    if (top < 0)
        return Current;
    TPlacementRect result = Current;
    result.Left = left > ScreenWidth - 20 ? ScreenWidth - 20 : left;
    result.Top = top > ScreenHeight - 20 ? ScreenHeight - 20 : top;
    if (WithSize) {
        const int width = StrToIntSafe(NextToken(Text, pos, ","));
        if (width > 0) {
            const int height = StrToIntSafe(NextToken(Text, pos, ","));
            if (height > 0) {
                result.Width = width;
                result.Height = height;
            }
        }
    }
    return result;
}

std::string PlacementText(const TPlacementRect& Geometry, bool WithSize) {
    std::string text = std::to_string(Geometry.Left);
    text += ',';
    text += std::to_string(Geometry.Top);
    if (WithSize) {
        text += ',';
        text += std::to_string(Geometry.Width);
        text += ',';
        text += std::to_string(Geometry.Height);
    }
    return text;
}

} // namespace quillet
