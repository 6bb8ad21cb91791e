#include "framework/graphics/Picture.h"

#include "framework/graphics/Bitmap.h"
#include "framework/core/Filer.h"
#include "framework/graphics/Icon.h"
#include "framework/core/Stream.h"
#include "framework/core/TypInfo.h"

#include <cctype>

namespace {

TGraphic* NewGraphicOf(const std::string& className)
{
    if (className == "TBitmap")
        return new TBitmap;
    if (className == "TIcon")
        return new TIcon;
    return nullptr;
}

std::string LowerExt(const std::string& fileName)
{
    size_t dot = fileName.find_last_of("./");
    if (dot == std::string::npos || fileName[dot] != '.')
        return {};
    std::string ext = fileName.substr(dot);
    for (char& c : ext)
        c = char(std::tolower(uint8_t(c)));
    return ext;
}

} // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() { delete FGraphic; }

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Adopt(TGraphic* graphic)
{
    delete FGraphic;
    FGraphic = graphic;
    if (FGraphic)
        FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
    Changed();
}

void TPicture::SetGraphic(TGraphic* value)
{
    if (value == FGraphic)
        return;
    TGraphic* copy = nullptr;
    if (value) {
        copy = NewGraphicOf(value->ClassName());
        if (!copy)
            throw EInvalidGraphic(std::string("Unsupported graphic class ") + value->ClassName());
        copy->Assign(value);
    }
    Adopt(copy);
}

void TPicture::Assign(TPersistent* Source)
{
    if (Source == nullptr) {
        Adopt(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        if (p != this)
            SetGraphic(p->FGraphic);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}

TBitmap* TPicture::Bitmap()
{
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic))
        return b;
    Adopt(new TBitmap);
    return static_cast<TBitmap*>(FGraphic);
}

TIcon* TPicture::Icon()
{
    if (auto* i = dynamic_cast<TIcon*>(FGraphic))
        return i;
    Adopt(new TIcon);
    return static_cast<TIcon*>(FGraphic);
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }

int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const std::string& fileName)
{
    std::string ext = LowerExt(fileName);
    TGraphic* g = ext == ".bmp" ? static_cast<TGraphic*>(new TBitmap)
        : ext == ".ico"         ? static_cast<TGraphic*>(new TIcon)
                                : nullptr;
    if (!g)
        throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    try {
        g->LoadFromFile(fileName);
    } catch (...) {
        delete g;
        throw;
    }
    Adopt(g);
}

void TPicture::SaveToFile(const std::string& fileName) const
{
    if (FGraphic)
        FGraphic->SaveToFile(fileName);
}

// The graphic's class name (a length byte, then the name), then the graphic's own data.
void TPicture::ReadData(TStream& stream)
{
    uint8_t len = 0;
    stream.ReadBuffer(&len, 1);
    std::string name(len, '\0');
    if (len)
        stream.ReadBuffer(name.data(), len);
    TGraphic* g = NewGraphicOf(name);
    if (!g)
        throw EReadError("Unsupported graphic class " + name);
    try {
        g->ReadData(stream);
    } catch (...) {
        delete g;
        throw;
    }
    Adopt(g);
}

void TPicture::WriteData(TStream& stream) const
{
    std::string name = FGraphic->ClassName();
    uint8_t len = uint8_t(name.size());
    stream.WriteBuffer(&len, 1);
    stream.WriteBuffer(name.data(), len);
    FGraphic->WriteData(stream);
}

void TPicture::DefineProperties(TFiler* filer)
{
    TPersistent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
        FGraphic && !FGraphic->Empty());
}

BEGIN_PROPERTIES(TPicture, TPersistent)
END_PROPERTIES
