#include "framework/graphics/Picture.h"

#include "framework/graphics/Bitmap.h"
#include "framework/core/Filer.h"
#include "framework/graphics/Icon.h"
#include "framework/core/Stream.h"
#include "framework/core/TypInfo.h"

#include <cctype>

namespace {

std::unique_ptr<TGraphic> NewGraphicOf(const std::string& className)
{
    if (className == "TBitmap")
        return std::make_unique<TBitmap>();
    if (className == "TIcon")
        return std::make_unique<TIcon>();
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

TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic)
{
    FGraphic = std::move(graphic);
    if (FGraphic)
        FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
    Changed();
}

void TPicture::SetGraphic(TGraphic* value)
{
    if (value == FGraphic.get())
        return;
    std::unique_ptr<TGraphic> copy;
    if (value) {
        copy = NewGraphicOf(value->ClassName());
        if (!copy)
            throw EInvalidGraphic(std::string("Unsupported graphic class ") + value->ClassName());
        copy->Assign(value);
    }
    Adopt(std::move(copy));
}

void TPicture::Assign(TPersistent* Source)
{
    if (Source == nullptr) {
        Adopt(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        if (p != this)
            SetGraphic(p->FGraphic.get());
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
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get()))
        return b;
    Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon()
{
    if (auto* i = dynamic_cast<TIcon*>(FGraphic.get()))
        return i;
    Adopt(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }

int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const std::string& fileName)
{
    std::string ext = LowerExt(fileName);
    std::unique_ptr<TGraphic> g = ext == ".bmp" ? NewGraphicOf("TBitmap")
        : ext == ".ico"                         ? NewGraphicOf("TIcon")
                                                : nullptr;
    if (!g)
        throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    g->LoadFromFile(fileName);
    Adopt(std::move(g));
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
    std::unique_ptr<TGraphic> g = NewGraphicOf(name);
    if (!g)
        throw EReadError("Unsupported graphic class " + name);
    g->ReadData(stream);
    Adopt(std::move(g));
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
