#pragma once
// A picture holds one graphic of any kind (a bitmap or an icon), owns it, and tells its
// user through OnChange when the graphic changes or is replaced. In a form description
// its "Data" is the graphic's class name (one length byte, then the name) followed by the
// graphic's own data. GUI thread only.

#include "framework/graphics/Graphic.h"

#include <memory>

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    const char* ClassName() const override { return "TPicture"; }
    void Assign(TPersistent* Source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* value);   // takes a copy; nullptr empties the picture
    // The graphic as a bitmap (an icon); a graphic of another kind is replaced by an
    // empty one of this kind.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const;
    int Height() const;

    // By extension: .bmp or .ico. EInvalidGraphic for anything else.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    TNotifyEvent OnChange;

protected:
    void DefineProperties(TFiler* filer) override;
    virtual void Changed();

private:
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    void Adopt(std::unique_ptr<TGraphic> graphic);
    void GraphicChanged(TObject*) { Changed(); }

    std::unique_ptr<TGraphic> FGraphic;
};
