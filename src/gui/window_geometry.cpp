#include "gui/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tarvik {
namespace {

std::int64_t Overlap(std::int64_t start, std::int64_t length, std::int64_t areaStart,
                     std::int64_t areaLength) {
    const std::int64_t low = std::max(start, areaStart);
    const std::int64_t high =
        std::min(start + std::max<std::int64_t>(length, 0), areaStart + areaLength);
    return std::max<std::int64_t>(high - low, 0);
}

std::int64_t SharedArea(const StoredRect& r, const QRect& area) {
    return Overlap(r.X, r.Width, area.x(), area.width()) *
           Overlap(r.Y, r.Height, area.y(), area.height());
}

// How far a point lies outside an area, along both axes together.
std::int64_t Distance(std::int64_t x, std::int64_t y, const QRect& area) {
    const std::int64_t dx =
        std::max<std::int64_t>({area.x() - x, x - (std::int64_t{area.x()} + area.width() - 1), 0});
    const std::int64_t dy =
        std::max<std::int64_t>({area.y() - y, y - (std::int64_t{area.y()} + area.height() - 1), 0});
    return dx + dy;
}

const QRect& HoldingScreen(const StoredRect& stored, const std::vector<QRect>& available) {
    const auto most = std::max_element(available.begin(), available.end(),
                                       [&stored](const QRect& a, const QRect& b) {
                                           return SharedArea(stored, a) < SharedArea(stored, b);
                                       });
    if (SharedArea(stored, *most) > 0) {
        return *most;
    }
    return *std::min_element(
        available.begin(), available.end(), [&stored](const QRect& a, const QRect& b) {
            return Distance(stored.X, stored.Y, a) < Distance(stored.X, stored.Y, b);
        });
}

// A length within [minimum, room] (minimum wins where room is smaller).
int FitLength(std::int64_t length, int minimum, int room) {
    return static_cast<int>(std::max<std::int64_t>(std::min<std::int64_t>(length, room), minimum));
}

// A start that keeps [start, start + length) inside the area when it fits.
int FitStart(std::int64_t start, int length, int areaStart, int areaLength) {
    const std::int64_t last = std::int64_t{areaStart} + areaLength - length;
    return static_cast<int>(
        std::clamp<std::int64_t>(start, areaStart, std::max<std::int64_t>(last, areaStart)));
}

}  // namespace

QRect FitToScreens(const StoredRect& stored, const std::vector<QRect>& available, QSize minimum,
                   QSize maximum) {
    const StoredRect limited{
        stored.X, stored.Y,
        std::clamp<std::int64_t>(stored.Width, minimum.width(), maximum.width()),
        std::clamp<std::int64_t>(stored.Height, minimum.height(), maximum.height())};
    if (available.empty()) {
        const auto limit = [](std::int64_t v) {
            return static_cast<int>(std::clamp<std::int64_t>(v, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        };
        return {limit(limited.X), limit(limited.Y), static_cast<int>(limited.Width),
                static_cast<int>(limited.Height)};
    }
    const QRect& area = HoldingScreen(limited, available);
    const int width = FitLength(limited.Width, minimum.width(), area.width());
    const int height = FitLength(limited.Height, minimum.height(), area.height());
    return {FitStart(limited.X, width, area.x(), area.width()),
            FitStart(limited.Y, height, area.y(), area.height()), width, height};
}

QRect FitFrameToScreens(const QRect& frame, const QRect& client,
                        const std::vector<QRect>& available, QSize minimum, QSize maximum) {
    const QSize extra = frame.size() - client.size();
    const QRect fitted = FitToScreens({frame.x(), frame.y(), frame.width(), frame.height()},
                                      available, minimum + extra, maximum + extra);
    return {fitted.topLeft(), fitted.size() - extra};
}

std::vector<QRect> AvailableScreenAreas() {
    std::vector<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        areas.push_back(primary->availableGeometry());
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            areas.push_back(screen->availableGeometry());
        }
    }
    return areas;
}

}  // namespace tarvik
