// The screenshot mode of "-T [folder]": the main window with sample values,
// captured with its frame where the window system draws one, the home page
// address written at its bottom right, saved as a JPEG and a thumbnail.
// Nothing of the settings is read or written.
#pragma once

#include <QImage>
#include <QSize>

#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tarvik {

inline constexpr std::string_view kScreenshotFileName = "tarvik1.jpg";
inline constexpr std::string_view kThumbnailFileName = "tarvik1x.jpg";
inline constexpr int kThumbnailWidth = 180;
inline constexpr int kScreenshotQuality = 90;  // of 100

// The folder the pictures go to, ending in "/": the program's folder when
// argument is empty, a relative one taken from the current folder; "" when
// it is not an existing folder.
std::string ScreenshotFolder(const std::string& argument);

// The seven sample input paths; the window shows the fourth.
std::vector<std::string> ScreenshotSamplePaths();

// 180 pixels wide, the height in proportion, rounded.
QSize ThumbnailSize(QSize full);

// The window's pixels, frame and title bar included when the window system
// gives them.
QImage CaptureWindow(QWidget& window);

// The home page address in black, right-aligned near the bottom edge.
void DrawHomePageAddress(QImage& picture);

// folder + tarvik1.jpg and the thumbnail folder + tarvik1x.jpg; false when
// either could not be written.
bool SaveScreenshots(const QImage& picture, const std::string& folder);

// With a QApplication running and the pictures loaded: shows the main window
// with the sample values for half a second (or until its close box is
// used), captures and saves it into folder (a checked ScreenshotFolder).
// Returns the exit status.
int RunScreenshotMode(const std::string& folder);

}  // namespace tarvik
