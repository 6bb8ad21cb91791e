#pragma once
// A font description: face name, height in pixels (negative: character height; positive:
// cell height), style, colour, pitch and character set. Size is the height in points at
// PixelsPerInch (96): Size = -Height * 72 / PixelsPerInch, rounded. The resolved platform
// font is looked up when needed and cached until the description changes. OnChange fires
// after every change. GUI thread only.

#include "framework/graphics/Color.h"
#include "framework/graphics/GraphicsObject.h"

#include <memory>
#include <string>

namespace plat {
class Font;
}

enum TFontStyle : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint32_t;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
constexpr TFontCharset DEFAULT_CHARSET = 1;

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    const char* ClassName() const override { return "TFont"; }
    void Assign(TPersistent* Source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    int PixelsPerInch() const { return FPixelsPerInch; }

    // The platform font for this description.
    std::shared_ptr<const plat::Font> Handle() const;

protected:
    void Changed() override;

private:
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = DEFAULT_CHARSET;
    int FPixelsPerInch = 96;
    mutable std::shared_ptr<const plat::Font> FHandle;
};
