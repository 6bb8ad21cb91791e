#pragma once
// Reading and writing image files: device-independent bitmap files (.bmp), icon files
// (.ico) and PNG. Everything works on bytes in memory; the file helpers only load or save
// those bytes.
//
// Readers check every size, offset and count against the bytes present, in 64-bit
// arithmetic, and never read outside them. Malformed, truncated or too large input
// (beyond MaxSurfacePixels) is refused: the reason goes to ReportFailure and the result is
// empty (std::nullopt, or an empty list). An image of zero width or height is not an
// error: it reads as a valid empty surface.
//
// Writers are deterministic: the same surface always gives the same bytes, so a surface
// written, read and written again gives identical bytes.

#include "platform/raster/Surface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace plat {

using Bytes = std::vector<uint8_t>;

// --- Bitmap files ---------------------------------------------------------------------
// Reads a bitmap file with an info header of 40 bytes or more (including the 108- and
// 124-byte versions) or the old 12-byte core header; 1, 4 and 8 bits with a colour table,
// 16 bits (5-5-5, or any masks), 24 bits, 32 bits (plain or masks), 8- and 4-bit run-length
// compression; rows bottom-up or top-down. The surface's format is the file's depth
// (16 bits reads as Bpp24) and a palette file keeps its colour table, in file order.
std::optional<Surface> ReadBmp(std::span<const uint8_t> data);

// Writes the surface in its own format (1, 4, 8 bits with its palette; 24 or 32 bits):
// a 40-byte info header, rows bottom-up padded to 4 bytes, no compression. Fixed fields:
// 3780 pixels per metre both ways (96 dpi), colours-used 0 when the palette is full and
// its entry count otherwise, colours-important 0, reserved words 0, the 32-bit pixels'
// top byte 0.
Bytes WriteBmp(const Surface& s);

std::optional<Surface> LoadBmpFile(const std::string& path);
bool SaveBmpFile(const std::string& path, const Surface& s);

// --- Icon files -----------------------------------------------------------------------
// One image of an icon file. `color` is Bpp32 with transparent pixels as stored (usually
// black); `mask` is Bpp1 of the same size, white where the icon is transparent; `alpha`
// holds one byte per pixel, rows top-down (0 transparent .. 255 opaque): the alpha channel
// of 32-bit and PNG images, 0/255 from the mask for the others. The mask of an image with
// an alpha channel marks alpha below 128 as transparent. `bpp` is the stored depth and
// `palette` the colour table of 1-, 4- and 8-bit images.
struct IconImage {
    Surface color;
    Surface mask;
    std::vector<uint8_t> alpha;
    int bpp = 32;
    std::vector<Color> palette;
};

// Every image of an icon (or cursor) file, in directory order; an entry that cannot be
// decoded is left out (and reported), as is a bitmap entry above 256 x 256 pixels. Empty
// when no entry could be read.
std::vector<IconImage> ReadIco(std::span<const uint8_t> data);

// The image that suits a square size best: one of exactly that width (the deepest),
// else the smallest wider one, else the widest.
std::optional<IconImage> ReadIcoBest(std::span<const uint8_t> data, int size);

// Writes an icon file with one bitmap entry per image, in the image's `bpp` (1, 4, 8, 24
// or 32). Palette depths use the colour surface's palette when it has that format, else
// `palette` when given, else the standard one; the table is always written full. The
// mask becomes the AND mask (an empty mask: from alpha when it has one byte per pixel,
// else opaque). 32-bit entries carry `alpha` when it has one byte per pixel, else 0/255
// from the mask, and their AND mask is alpha below 128. In entries up to 24 bits
// transparent pixels are written black, so that every reader draws them alike.
// Images must be 1..256 pixels wide and high; otherwise the result is empty.
Bytes WriteIco(std::span<const IconImage> images);

std::vector<IconImage> LoadIcoFile(const std::string& path);
bool SaveIcoFile(const std::string& path, std::span<const IconImage> images);

// --- PNG -------------------------------------------------------------------------------
// A picture with an optional alpha channel: `alpha` is empty or holds one byte per pixel.
struct AlphaImage {
    Surface color;
    std::vector<uint8_t> alpha;
};

// Reads any colour type (grey, palette, RGB, with or without alpha or a transparent
// colour) at any depth; 16-bit samples are reduced to 8 bits. The colour surface is
// Bpp32; alpha is filled only when the file has transparency.
std::optional<AlphaImage> ReadPng(std::span<const uint8_t> data);

// RGB when alpha is empty, else RGBA (alpha must hold one byte per pixel; otherwise the
// result is empty). An empty surface cannot be stored as PNG and gives an empty result.
Bytes WritePng(const Surface& s, std::span<const uint8_t> alpha = {});

std::optional<AlphaImage> LoadPngFile(const std::string& path);
bool SavePngFile(const std::string& path, const Surface& s, std::span<const uint8_t> alpha = {});

// --- Helpers ---------------------------------------------------------------------------
// Alpha 0 where the mask is white (transparent), 255 elsewhere; empty for an empty mask.
std::vector<uint8_t> AlphaFromMask(const Surface& mask);
// A Bpp1 mask, white where alpha is below 128; empty unless alpha has width * height bytes.
Surface MaskFromAlpha(std::span<const uint8_t> alpha, int32_t width, int32_t height);

// Whole files as bytes. Files larger than any image the readers accept are refused.
std::optional<Bytes> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, std::span<const uint8_t> data);

} // namespace plat
