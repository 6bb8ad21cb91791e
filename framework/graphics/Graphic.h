#pragma once
// The base of pictures that can be drawn on a canvas and stored: bitmaps and icons. A
// graphic knows its size, whether it is drawn transparently, how to draw itself into a
// rectangle of a canvas, and how to read and write its file image. OnChange fires after
// every change. GUI thread only.

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TCanvas;
class TStream;
class TPicture;

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TGraphic : public TPersistent {
public:
    const char* ClassName() const override { return "TGraphic"; }

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    // The file image (BMP for bitmaps, ICO for icons). Loading malformed data raises
    // EInvalidGraphic and leaves the graphic as it was.
    virtual void LoadFromBytes(std::span<const uint8_t> data) = 0;
    virtual std::vector<uint8_t> SaveToBytes() const = 0;
    void LoadFromStream(TStream& stream);   // the rest of the stream
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    friend class TPicture;
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual void Changed();
    // The "Data" of a form description: the file image, with a length in front for
    // bitmaps (see the subclasses).
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream) const;
    void DefineProperties(TFiler* filer) override;

    bool FTransparent = false;
    bool FModified = false;
};
