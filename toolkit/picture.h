// The picture one repaint paints, in its own pixels: the panels compute every
// coordinate in this space whatever the size it is shown at; the background
// the main panel fills it with, which the window also shows beside it.
#pragma once
#include <cstdint>

constexpr int kRepaintWidth = 530;
constexpr int kRepaintHeight = 300;
constexpr const char* kRepaintBackground = "#64ffff";
constexpr uint32_t kRepaintBackgroundRgb = 0x64ffff;
