#include "framework/graphics/Graphic.h"

#include "framework/graphics/Bitmap.h"
#include "framework/core/Filer.h"
#include "framework/graphics/Icon.h"
#include "framework/core/Stream.h"
#include "platform/raster/ImageFiles.h"
#include "framework/core/TypInfo.h"

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    std::vector<uint8_t> data(size_t(std::max<int64_t>(size, 0)));
    if (!data.empty())
        stream.ReadBuffer(data.data(), int64_t(data.size()));
    LoadFromBytes(data);
}

void TGraphic::SaveToStream(TStream& stream) const
{
    std::vector<uint8_t> data = SaveToBytes();
    if (!data.empty())
        stream.WriteBuffer(data.data(), int64_t(data.size()));
}

void TGraphic::LoadFromFile(const std::string& fileName)
{
    plat::ClearLastError();
    auto data = plat::ReadFileBytes(fileName);
    if (!data)
        throw EFOpenError(WithPlatformReason("Cannot open file \"" + fileName + "\""));
    LoadFromBytes(*data);
}

void TGraphic::SaveToFile(const std::string& fileName) const
{
    std::vector<uint8_t> data = SaveToBytes();
    plat::ClearLastError();
    if (!plat::WriteFileBytes(fileName, data))
        throw EFCreateError(WithPlatformReason("Cannot create file \"" + fileName + "\""));
}

void TGraphic::ReadData(TStream& stream) { LoadFromStream(stream); }

void TGraphic::WriteData(TStream& stream) const { SaveToStream(stream); }

void TGraphic::DefineProperties(TFiler* filer)
{
    TPersistent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
        !Empty());
}

// A bitmap's data is its BMP file with the file's length in front (32 bits, little-endian).
void TBitmap::ReadData(TStream& stream)
{
    uint8_t len[4];
    stream.ReadBuffer(len, 4);
    uint32_t size = uint32_t(len[0]) | uint32_t(len[1]) << 8 | uint32_t(len[2]) << 16
        | uint32_t(len[3]) << 24;
    if (int64_t(size) > stream.Size() - stream.Position())
        throw EReadError("Bitmap data is shorter than its length says");
    std::vector<uint8_t> data(size);
    if (size)
        stream.ReadBuffer(data.data(), size);
    if (size == 0)
        SetImage(plat::Surface());
    else
        LoadFromBytes(data);
}

void TBitmap::WriteData(TStream& stream) const
{
    std::vector<uint8_t> data = SaveToBytes();
    uint32_t size = uint32_t(data.size());
    uint8_t len[4] = { uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24) };
    stream.WriteBuffer(len, 4);
    if (size)
        stream.WriteBuffer(data.data(), size);
}

void TIcon::ReadData(TStream& stream) { TGraphic::ReadData(stream); }

void TIcon::WriteData(TStream& stream) const { TGraphic::WriteData(stream); }

BEGIN_PROPERTIES(TGraphic, TPersistent)
END_PROPERTIES
