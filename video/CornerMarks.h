// Placement of the television test marks in the video window.
#pragma once
#include <array>
#include <cstdint>

struct MarkBounds {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

constexpr int32_t kCornerMarkSize = 60;

// Bounds for a client area of width w and height h, in the order
// left-top, left-bottom, right-bottom, right-top.
std::array<MarkBounds, 4> CornerMarkBounds(int32_t w, int32_t h);
