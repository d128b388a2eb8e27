// The stored window rectangle fitted to the screens before the window
// shows. A rectangle saved on a screen that is gone, at another scale
// factor, or edited by hand (negative, or 2147483647 wide) never reaches
// Qt as it is: a window larger than the screen would cost gigabytes of
// backing store, and one off every screen cannot be moved back.
#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace tarvik {

// A stored rectangle, in 64 bits so that X + Width cannot overflow.
struct StoredRect {
    std::int64_t X = 0;
    std::int64_t Y = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
};

// The rectangle on the screen that holds most of it (when none does, the
// screen nearest to its corner): its size within the window's limits and
// at most that screen's available area (the minimum wins), moved to lie
// inside that area. available lists each screen's available area; empty
// leaves the rectangle to the window's limits only.
QRect FitToScreens(const StoredRect& stored, const std::vector<QRect>& available, QSize minimum,
                   QSize maximum);

// The same for a shown window whose frame (title bar, borders) the window
// system now reports: the client rectangle that keeps the whole frame inside
// the available area of its screen.
QRect FitFrameToScreens(const QRect& frame, const QRect& client,
                        const std::vector<QRect>& available, QSize minimum, QSize maximum);

// The available areas of the screens Qt knows, primary first.
std::vector<QRect> AvailableScreenAreas();

}  // namespace tarvik
