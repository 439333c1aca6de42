#include "dialogs/artwork_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archive/decoders.h"
#include "widgets/glyph_win32.h"

namespace setuvane {
namespace {

// The resource's deflated bytes as the inflater's input, its picture file as output.
class ResourceBytes final : public archive::ByteSource {
 public:
  ResourceBytes(const uint8_t* bytes, size_t size) : bytes_(bytes), left_(size) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    const size_t n = std::min(capacity, left_);
    std::memcpy(buffer, bytes_, n);
    bytes_ += n;
    left_ -= n;
    return n;
  }

 private:
  const uint8_t* bytes_;
  size_t left_;
};

class PictureFile final : public archive::ByteSink {
 public:
  void Write(const uint8_t* data, size_t length) override { bytes.insert(bytes.end(), data, data + length); }
  std::vector<uint8_t> bytes;
};

// The BMP file that resource `id` holds deflated; empty when there is none.
std::vector<uint8_t> PictureOf(int id) {
  const HMODULE program = GetModuleHandleA(nullptr);
  const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
  const HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  ResourceBytes input(static_cast<const uint8_t*>(bytes), SizeofResource(program, found));
  PictureFile output;
  archive::Inflate(input, output);
  return std::move(output.bytes);
}

}  // namespace

// The pictures travel deflated, a few kilobytes instead of a third of a megabyte
// in every copy of the installer (each single file and uninstaller carries one). Each becomes a bitmap
// of the screen's format, as LoadImage makes of a bitmap resource.
GdiObject<HBITMAP> LoadArtwork(int id) {
  const std::vector<uint8_t> file = PictureOf(id);
  if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return GdiObject<HBITMAP>(nullptr);
  BITMAPFILEHEADER head;
  std::memcpy(&head, file.data(), sizeof head);
  if (head.bfOffBits >= file.size()) return GdiObject<HBITMAP>(nullptr);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof head);
  ScreenDC screen;
  return GdiObject<HBITMAP>(
      CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT, file.data() + head.bfOffBits, info, DIB_RGB_COLORS));
}

COLORREF BottomLeftColour(HBITMAP bitmap) {
  return BitmapPixel(bitmap, 0, BitmapSize(bitmap).cy - 1);
}

void DrawKeyedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap) {
  const SizeI size = BitmapSize(bitmap);
  width = std::min(width, size.cx);
  height = std::min(height, size.cy);
  if (width <= 0 || height <= 0) return;
  DrawTransparent(dc, x, y, bitmap, width, height, BottomLeftColour(bitmap));
}

GdiObject<HBITMAP> KeyedOnBackground(HBITMAP bitmap, COLORREF background) {
  const SizeI size = BitmapSize(bitmap);
  ScreenDC screen;
  GdiObject<HBITMAP> copy(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
  MemoryDC dc(screen.get());
  SelectScope select(dc.get(), copy.get());
  GdiObject<HBRUSH> brush(CreateSolidBrush(background));
  RECT all{0, 0, size.cx, size.cy};
  FillRect(dc.get(), &all, brush.get());
  DrawKeyedBitmap(dc.get(), 0, 0, size.cx, size.cy, bitmap);
  return copy;
}

}  // namespace setuvane
