// libFuzzer entry point of the gradient text: any text parses or fails with
// the framework's conversion error, and whatever parses paints into a small
// picture (plain and over a texture) without touching memory outside it.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/core/SysUtils.h"
#include "render/pixels/GradientKernels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  // Six leading bytes place the rectangle and shape the texture.
  const int left = static_cast<std::int8_t>(data[0]) / 4, top = static_cast<std::int8_t>(data[1]) / 4;
  const int right = left + data[2] % 48, bottom = top + data[3] % 48;
  const int texWidth = 1 + data[4] % 9, texHeight = 1 + data[5] % 9;
  translit::TsGradArray gradient;
  try {
    gradient = translit::ParseGradient(std::string_view(reinterpret_cast<const char*>(data + 6), size - 6));
  } catch (const fw::EConvertError&) {
    return 0;
  }
  std::vector<std::uint32_t> pixels(33 * 21), texels(static_cast<std::size_t>(texWidth * texHeight), 0x00808080);
  translit::PixelView picture{reinterpret_cast<std::uint8_t*>(pixels.data() + 33 * 20), -33 * 4, 33, 21};
  translit::PixelView texture{reinterpret_cast<std::uint8_t*>(texels.data()), texWidth * 4, texWidth, texHeight};
  translit::PaintGradient(picture, {left, top, right, bottom}, gradient);
  translit::PaintGradientOnTexture(picture, {left, top, right, bottom}, gradient, data[4], {data[5] % 4, 0, 0, 0},
                                   texture);
  translit::GradientMeshVertices(translit::ClipGradientRect({left, top, right, bottom}, 33, 21), gradient);
  return 0;
}
