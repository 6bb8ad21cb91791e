// A form description holding every media-look control with a non-default value for each
// of its own published properties reads, writes and reads back to the same text, and the
// values arrive in the controls.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/Medialib.h"
#include "effectlib/Wavctrl.h"
#include "effectlib/mediabtn.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

namespace {

class MediaDescriptionTest : public effctltest::HeadlessFormTest { };

// A 1 x 1 24-bit bitmap (red), as a bitmap's "Data" and as a picture's.
const char* const Pixel = "3A000000424D3A000000000000003600000028000000010000000100000001"
                          "0018000000000004000000130B0000130B000000000000000000000000FF00";

std::string Text()
{
    const std::string bmp = std::string("{") + Pixel + "}";
    const std::string pic = std::string("{07544269746D6170") + Pixel + "}";
    return "object f: TForm\n"
           "  object snd: TepWavePlayer\n"
           "  end\n"
           "  object wall: TepBitmap\n"
           "    Bitmap.Data = " + pic + "\n"
           "  end\n"
           "  object mp: TepMediaPanel\n"
           "    Align = alTop\n"
           "    BevelWidth = 3\n"
           "    BorderWidth = 2\n"
           "    Wallpaper = wall\n"
           "    InnerColor = clRed\n"
           "    OuterColor = clBlue\n"
           "  end\n"
           "  object mb: TepMediaBevel\n"
           "    BevelWidth = 5\n"
           "    InnerColor = clLime\n"
           "    OuterColor = clNavy\n"
           "  end\n"
           "  object trk: TepTracker\n"
           "    Color = clTeal\n"
           "  end\n"
           "  object mor: TepMorphing\n"
           "    Dest.Data = " + bmp + "\n"
           "    Direct = mdBackward\n"
           "    Source.Data = " + bmp + "\n"
           "    Step = 7\n"
           "  end\n"
           "  object sph: TepSphereButton\n"
           "    Transparent = True\n"
           "    ClickSound = snd\n"
           "    ActiveSound = snd\n"
           "    ActiveColor = clYellow\n"
           "    Color = clMaroon\n"
           "    Glyph.Data = " + bmp + "\n"
           "  end\n"
           "  object llb: TepLightLabelButton\n"
           "    Transparent = True\n"
           "    ModalResult = 2\n"
           "    Caption = 'Glow'\n"
           "    ClickSound = snd\n"
           "    ActiveSound = snd\n"
           "    NormalColor = clWhite\n"
           "    ActiveColor = clRed\n"
           "    ShadowColor = clGreen\n"
           "  end\n"
           "  object mbt: TepMediaButton\n"
           "    ClickSound = snd\n"
           "    ActiveSound = snd\n"
           "    InnerColor = clSilver\n"
           "    ActiveColor = clPurple\n"
           "    OuterColor = clOlive\n"
           "    BevelWidth = 4\n"
           "    Wallpaper = wall\n"
           "    ModalResult = 6\n"
           "  end\n"
           "  object bev: TepBevel\n"
           "    InnerColor = clAqua\n"
           "    OuterColor = clFuchsia\n"
           "    Shape = bsRightLine\n"
           "    Style = bsRaised\n"
           "  end\n"
           "  object img: TepImage\n"
           "    GlyphTransparent = True\n"
           "    WallStyle = True\n"
           "    Stretch = True\n"
           "    Glyph.Data = " + bmp + "\n"
           "  end\n"
           "  object pnlHold: TPanel\n"
           "    object ipn: TepImagePanel\n"
           "      Align = alLeft\n"
           "      BevelInnerColor = clRed\n"
           "      BevelOuterColor = clBlack\n"
           "      Wallpaper = wall\n"
           "    end\n"
           "    object spl: TepSplitter\n"
           "      UseGlyph = True\n"
           "      SplitterGlyph.Data = " + bmp + "\n"
           "      InnerColor = clYellow\n"
           "      OuterColor = clGreen\n"
           "      Beveled = False\n"
           "      MinSize = 12\n"
           "    end\n"
           "  end\n"
           "  object rnd: TepRndPanel\n"
           "    Radius = 9\n"
           "    PanelKind = pkRndRect\n"
           "    BevelInnerColor = clBlue\n"
           "    BevelOuterColor = clRed\n"
           "    Wallpaper = wall\n"
           "  end\n"
           "  object erp: TepEffectRndPanel\n"
           "    MiddleTransparent = True\n"
           "    Noise = True\n"
           "    Radius = 11\n"
           "    PanelKind = pkRndRect\n"
           "    BevelInnerColor = clGray\n"
           "    BevelOuterColor = clWhite\n"
           "  end\n"
           "  object shp: TepShadowPanel\n"
           "    ShadowWidth = 7\n"
           "    ShadowKind = skLeftBottom\n"
           "    BevelInnerColor = clMaroon\n"
           "    BevelOuterColor = clTeal\n"
           "    Wallpaper = wall\n"
           "  end\n"
           "end\n";
}

template <class T>
T* Get(TForm& f, const char* name)
{
    auto* c = dynamic_cast<T*>(f.FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

TEST_F(MediaDescriptionTest, EveryClassWithEveryOwnPropertyRoundTrips)
{
    TForm first(nullptr);
    ReadComponentRes(Text(), &first);
    const std::string once = WriteComponentRes(&first);
    TForm second(nullptr);
    ReadComponentRes(once, &second);
    EXPECT_EQ(WriteComponentRes(&second), once);

    // Every own property name is written, in the order the controls publish them.
    for (const char* name : { "Wallpaper = wall", "Direct = mdBackward", "Step = 7",
             "Shape = bsRightLine", "Style = bsRaised", "Beveled = False", "MinSize = 12",
             "PanelKind = pkRndRect", "ShadowKind = skLeftBottom", "NormalColor = clWhite",
             "Noise = True", "Glyph.Data", "SplitterGlyph.Data", "Dest.Data", "Bitmap.Data" })
        EXPECT_NE(once.find(name), std::string::npos) << name;
    EXPECT_LT(once.find("Dest.Data"), once.find("Direct = mdBackward"));
    EXPECT_LT(once.find("Direct = mdBackward"), once.find("Source.Data"));
    EXPECT_LT(once.find("ActiveColor = clPurple"), once.find("OuterColor = clOlive"));

    auto* wall = Get<TepBitmap>(second, "wall");
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->Bitmap()->Bitmap()->Image().GetColor(0, 0), clRed);
    EXPECT_EQ(Get<TepMediaPanel>(second, "mp")->Wallpaper(), wall);
    EXPECT_EQ(Get<TepMediaPanel>(second, "mp")->BevelWidth(), 3);
    EXPECT_EQ(Get<TepMediaBevel>(second, "mb")->BevelWidth(), 5);
    EXPECT_EQ(Get<TepMorphing>(second, "mor")->Step(), 7);
    EXPECT_EQ(Get<TepMorphing>(second, "mor")->Source()->Width(), 1);
    EXPECT_EQ(Get<TepSphereButton>(second, "sph")->Color(), clMaroon);
    EXPECT_TRUE(Get<TepSphereButton>(second, "sph")->Transparent());
    EXPECT_EQ(Get<TepLightLabelButton>(second, "llb")->ShadowColor(), clGreen);
    EXPECT_EQ(Get<TepLightLabelButton>(second, "llb")->ModalResult(), 2);
    EXPECT_EQ(Get<TepMediaButton>(second, "mbt")->ModalResult(), 6);
    EXPECT_EQ(Get<TepMediaButton>(second, "mbt")->ClickSound(), Get<TepWavePlayer>(second, "snd"));
    EXPECT_EQ(Get<TepBevel>(second, "bev")->Shape(), epctrls::bsRightLine);
    EXPECT_TRUE(Get<TepImage>(second, "img")->WallStyle());
    EXPECT_EQ(Get<TepSplitter>(second, "spl")->MinSize(), 12);
    EXPECT_FALSE(Get<TepSplitter>(second, "spl")->Beveled());
    EXPECT_EQ(Get<TepImagePanel>(second, "ipn")->Wallpaper(), wall);
    EXPECT_EQ(Get<TepRndPanel>(second, "rnd")->Radius(), 9);
    EXPECT_TRUE(Get<TepEffectRndPanel>(second, "erp")->Noise());
    EXPECT_EQ(Get<TepShadowPanel>(second, "shp")->ShadowKind(), skLeftBottom);
    EXPECT_EQ(Get<TepShadowPanel>(second, "shp")->ShadowWidth(), 7);
}

// Defaults that a class declares are left out of the description.
TEST_F(MediaDescriptionTest, DeclaredDefaultsAreNotWritten)
{
    TForm form(nullptr);
    auto* spl = new TepSplitter(&form);
    spl->SetName("spl");
    spl->SetParent(&form);
    auto* bev = new TepBevel(&form);
    bev->SetName("bev");
    bev->SetParent(&form);
    const std::string text = WriteComponentRes(&form);
    EXPECT_EQ(text.find("Beveled"), std::string::npos);
    EXPECT_EQ(text.find("MinSize"), std::string::npos);
    EXPECT_EQ(text.find("Shape ="), std::string::npos);
    EXPECT_EQ(text.find(" Style ="), std::string::npos);
    EXPECT_NE(text.find("InnerColor"), std::string::npos);   // declared without a default
}

} // namespace
