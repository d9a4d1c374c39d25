// The arithmetic of the animation frames: how many frames a time gives, the
// constant alpha and the picture rectangle of each frame, the weights of a
// control fade and the levels of a re-skinning cross-fade. Each formula
// lives in one function here; the animations only call them.
#pragma once

#include <algorithm>
#include <cstdint>

namespace translit {

// Frames are this far apart.
constexpr int kFrameIntervalMs = 12;

// The number of frames of an animation lasting timeMs (read as an unsigned
// 16-bit value).
constexpr int FrameCount(unsigned timeMs) { return static_cast<std::uint16_t>(timeMs) / kFrameIntervalMs; }

// Nearest integer, halves to even.
constexpr long long RoundHalfEven(double v) {
  if (v < 0) return -RoundHalfEven(-v);
  const auto whole = static_cast<long long>(v);
  const double fraction = v - static_cast<double>(whole);
  if (fraction > 0.5) return whole + 1;
  if (fraction < 0.5) return whole;
  return whole + (whole & 1);
}

// The before-picture's weight in step (1-based) of a control fade of steps
// steps.
constexpr int FadeWeight(int step, int steps) { return std::clamp(255 - step * 256 / steps, 0, 255); }

// Rectangles in real coordinates, rounded when used.
struct TacFrameRect {
  double Left, Top, Right, Bottom;
};

// Show: the alpha grows by step per frame up to blend (kept real).
constexpr double ShowAlphaStep(int blendValue, int frames) { return static_cast<double>(blendValue) / frames; }
// Dialog show: one step more, so that the last frame reaches blend.
constexpr double DialogShowAlphaStep(int blendValue, int frames) {
  return static_cast<double>(blendValue) / (frames + 1);
}
constexpr double NextShowAlpha(double alpha, double step, int blendValue) {
  return std::min(static_cast<double>(blendValue), alpha + step);
}

// Show, aero mode: frame k (0-based) of frames stretches the picture into a
// rectangle inset by an eighth of its size, widening to the full picture.
constexpr TacFrameRect AeroShowRect(int width, int height, int frames, int k) {
  const double dx = static_cast<double>(width) / 8 - static_cast<double>(k) * width / (8.0 * frames);
  const double dy = static_cast<double>(height) / 8 - static_cast<double>(k) * height / (8.0 * frames);
  return TacFrameRect{dx, dy, width - dx, height - dy};
}

// Hide: frame k (1-based) of frames shows alpha startBlend - k * startBlend
// / frames, not below 0.
constexpr double HideAlpha(int startBlend, int frames, int k) {
  return std::max(0.0, startBlend - static_cast<double>(k) * startBlend / frames);
}

// Hide, aero mode: frame k (0-based) shrinks the full rectangle by k eighths
// of a frame's share on every side.
constexpr TacFrameRect AeroHideRect(int width, int height, int frames, int k) {
  const double dx = static_cast<double>(k) * width / (8.0 * frames);
  const double dy = static_cast<double>(k) * height / (8.0 * frames);
  return TacFrameRect{dx, dy, width - dx, height - dy};
}

// Re-skinning on a still cover: picture k (0-based) mixes the old screen
// into the new picture with this level (255: the old screen).
constexpr int SkinChangeLevel(int frames, int k) { return std::max(0, 255 - k * (255 / frames)); }

// Re-skinning with a border window: the old window's alpha while the new
// one shows newAlpha.
constexpr int OldWindowAlpha(int blendValue, int newAlpha) {
  return std::min(255, std::max(0, 3 * (blendValue - newAlpha)));
}

}  // namespace translit
