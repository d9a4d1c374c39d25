// Fonts, brushes, pens, canvases and bitmaps of the framework. A bitmap is a
// GDI bitmap with a memory DC for its canvas; in a DIB format its pixels are
// reachable through ScanLine (rows bottom-up, as GDI stores them by default).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Classes.h"
#include "framework/Colors.h"
#include "framework/Handles.h"
#include "framework/core/Persistent.h"
#include "render/pixels/BmpHeader.h"
#include "render/pixels/PixelView.h"

namespace fw {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Shared by the font, brush and pen: a value object whose GDI handle is made
// on first use and dropped whenever a property changes.
class TGraphicsObject : public TPersistent {
 public:
  std::function<void()> OnChange;

 protected:
  void Changed();
  virtual void FreeHandle() = 0;
};

class TFont : public TGraphicsObject {
 public:
  TFont();
  const char* ClassName() const override { return "TFont"; }
  HFONT Handle();
  void Assign(const TFont& other);

  int Charset() const { return FCharset; }
  void SetCharset(int v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int Height() const { return FHeight; }
  void SetHeight(int v);
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int points);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles v);

 protected:
  void FreeHandle() override { FHandle.Reset(); }

 private:
  int FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int FHeight = -11;
  std::string FName = "MS Sans Serif";
  TFontStyles FStyle = 0;
  UniqueFont FHandle;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
 public:
  const char* ClassName() const override { return "TBrush"; }
  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v);

 protected:
  void FreeHandle() override { FHandle.Reset(); }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  UniqueBrush FHandle;
};

class TPen : public TGraphicsObject {
 public:
  const char* ClassName() const override { return "TPen"; }
  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int Width() const { return FWidth; }
  void SetWidth(int v);

 protected:
  void FreeHandle() override { FHandle.Reset(); }

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  UniquePen FHandle;
};

class TGraphic;

// Drawing on a device context it does not own. The current font, brush and
// pen are selected before each drawing call; the DC's own objects are
// selected back when the canvas lets go of it.
class TCanvas {
 public:
  TCanvas();
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() { return FHandle; }
  void SetHandle(HDC dc);

  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int l, int t, int r, int b);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  SIZE TextExtent(const std::string& text);
  void Draw(int x, int y, TGraphic& graphic);
  void StretchDraw(const RECT& r, TGraphic& graphic);
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& src);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor c);

 private:
  void RequireFont();
  void RequireBrush();
  void RequirePen();
  void Deselect();

  HDC FHandle = nullptr;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
};

// Lends a DC to a canvas for one paint; the canvas lets go of it on every
// way out.
class CanvasScope {
 public:
  CanvasScope(TCanvas& canvas, HDC dc) : FCanvas(canvas) { FCanvas.SetHandle(dc); }
  ~CanvasScope() { FCanvas.SetHandle(nullptr); }
  CanvasScope(const CanvasScope&) = delete;
  CanvasScope& operator=(const CanvasScope&) = delete;

 private:
  TCanvas& FCanvas;
};

// Anything that can be drawn onto a canvas (bitmaps, PNG images, icons).
class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  virtual void Draw(TCanvas& canvas, const RECT& r) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v) { FTransparent = v; }

 private:
  bool FTransparent = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pf32bit);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int w) { SetSize(w, FHeight); }
  void SetHeight(int h) { SetSize(FWidth, h); }
  // Keeps the content of the overlapping top-left part.
  void SetSize(int w, int h);

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the content to the new format.
  void SetPixelFormat(TPixelFormat pf);
  TBitmapHandleType HandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType t);

  HBITMAP Handle();
  TCanvas& Canvas();
  // Address of row y of a DIB (bottom-up: row 0 is the last in memory).
  void* ScanLine(int y);
  // The rows of a 32-bit DIB; an empty view for any other format.
  translit::PixelView View();
  // Bytes from one row to the next in memory order (always positive).
  int BytesPerRow() const { return FRowBytes; }

  void Assign(TBitmap& source);
  // Takes over a DIB section or DDB; the bitmap then owns it.
  void SetHandle(HBITMAP bitmap);

  void Draw(TCanvas& canvas, const RECT& r) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void LoadFromResourceName(HINSTANCE instance, const char* name);

 private:
  void Recreate(int w, int h, TPixelFormat pf, TBitmapHandleType type, bool keepContent);
  void ReleaseCanvas();
  void ReadDib(const std::uint8_t* data, const translit::BmpLayout& layout);

  int FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TBitmapHandleType FHandleType = bmDIB;
  UniqueBitmap FHandle;
  std::uint8_t* FBits = nullptr;
  int FRowBytes = 0;
  UniqueDC FDC;
  HGDIOBJ FOldBitmap = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
};

int BitsPerPixel(TPixelFormat pf);

// The picture formats the framework loads by file extension. A unit that
// brings a format registers it with a description and a factory; the
// framework itself knows "bmp". Extensions are given without the dot and
// compared without regard to case.
using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;
struct TFileFormat {
  std::string Extension;  // lower case, no dot
  std::string Description;
  TGraphicFactory Create;
};
// Adds a format, or replaces the one of the same extension.
void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory create);
void UnregisterFileFormat(const std::string& extension);
// The format of an extension ("png" or ".PNG"), or nullptr.
const TFileFormat* FindFileFormat(const std::string& extension);
// Every registered format, in the order of registration.
std::vector<TFileFormat> FileFormats();
// A graphic of the format that the file's extension names, loaded from the
// file. Raises EInvalidGraphic "Unknown picture file extension (.ext)" when
// no format knows the extension.
std::unique_ptr<TGraphic> LoadGraphicFromFile(const std::string& fileName);

}  // namespace fw
