// The published properties of the framework's graphics objects and controls, in the order
// a form description stores them. Kept in one unit that the application always links,
// so that every class can be created by name from a description.
#include "framework/controls/Application.h"
#include "framework/stdctrls/Bevel.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/graphics/Icon.h"
#include "framework/stdctrls/Image.h"
#include "framework/stdctrls/PaintBox.h"
#include "framework/controls/Timer.h"
#include "framework/core/TypInfo.h"

namespace {

const std::vector<std::string> AlignNames = { "alNone", "alTop", "alBottom", "alLeft",
    "alRight", "alClient" };
const std::vector<std::string> AnchorNames = { "akLeft", "akTop", "akRight", "akBottom" };
const std::vector<std::string> AlignmentNames = { "taLeftJustify", "taRightJustify", "taCenter" };
const std::vector<std::string> BevelCutNames = { "bvNone", "bvLowered", "bvRaised", "bvSpace" };
const std::vector<std::string> BorderStyleNames = { "bsNone", "bsSingle", "bsSizeable",
    "bsDialog", "bsToolWindow", "bsSizeToolWin" };

bool IsForm(TControl* c) { return dynamic_cast<TCustomForm*>(c) != nullptr; }

const bool ColorNamesInstalled = [] {
    RegisterColorIdents(
        [](const std::string& ident, int64_t& value) {
            TColor c;
            if (!IdentToColor(ident, c))
                return false;
            value = c;
            return true;
        },
        [](int64_t value, std::string& ident) { return ColorToIdent(TColor(value), ident); });
    return true;
}();

} // namespace

BEGIN_PROPERTIES(TFont, TPersistent)
    .Int("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET)
    .Color("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText)
    .Int("Height", &TFont::Height, &TFont::SetHeight)
    .String("Name", &TFont::Name, &TFont::SetName)
    .Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, { "fpDefault", "fpVariable", "fpFixed" })
    .Default(fpDefault)
    .Set("Style", &TFont::Style, &TFont::SetStyle, { "fsBold", "fsItalic", "fsUnderline",
        "fsStrikeOut" }).Default(0)
END_PROPERTIES

BEGIN_PROPERTIES(TPen, TPersistent)
    .Color("Color", &TPen::Color, &TPen::SetColor).Default(clBlack)
    .Enum("Mode", &TPen::Mode, &TPen::SetMode, { "pmBlack", "pmWhite", "pmNot", "pmCopy",
        "pmXor", "pmNotXor" }).Default(pmCopy)
    .Enum("Style", &TPen::Style, &TPen::SetStyle, { "psSolid", "psDash", "psDot", "psDashDot",
        "psDashDotDot", "psClear", "psInsideFrame" }).Default(psSolid)
    .Int("Width", &TPen::Width, &TPen::SetWidth).Default(1)
END_PROPERTIES

BEGIN_PROPERTIES(TBrush, TPersistent)
    .Color("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite)
    .Enum("Style", &TBrush::Style, &TBrush::SetStyle, { "bsSolid", "bsClear" }).Default(bsSolid)
END_PROPERTIES

BEGIN_PROPERTIES(TGraphic, TPersistent)
END_PROPERTIES
BEGIN_PROPERTIES(TBitmap, TGraphic)
END_PROPERTIES
BEGIN_PROPERTIES(TIcon, TGraphic)
END_PROPERTIES
BEGIN_PROPERTIES(TPicture, TPersistent)
END_PROPERTIES

// Forms store their client size instead of their outer size.
BEGIN_PROPERTIES(TControl, TComponent)
    .Int("Left", &TControl::Left, &TControl::SetLeft)
    .Int("Top", &TControl::Top, &TControl::SetTop)
    .Int("Width", &TControl::Width, &TControl::SetWidth).Stored([](TControl* c) { return !IsForm(c); })
    .Int("Height", &TControl::Height, &TControl::SetHeight).Stored([](TControl* c) { return !IsForm(c); })
    .Enum("Align", &TControl::Align, &TControl::SetAlign, AlignNames).Default(alNone)
    .Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorNames).Default(akLeft | akTop)
    .String("Caption", &TControl::Caption, &TControl::SetCaption)
    .Color("Color", &TControl::Color, &TControl::SetColor).Stored([](TControl* c) { return !c->ParentColor(); })
    .Int("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault)
    .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true)
    .Object("Font", &TControl::Font).Stored([](TControl* c) { return !c->ParentFont(); })
    .String("Hint", &TControl::Hint, &TControl::SetHint)
    .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true)
    .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true)
    .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true)
    .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false)
    .Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(true)
        .Stored([](TControl* c) { return !IsForm(c); })
    .Event("OnClick", &TControl::OnClick)
    .Event("OnDblClick", &TControl::OnDblClick)
    .Event("OnMouseDown", &TControl::OnMouseDown)
    .Event("OnMouseMove", &TControl::OnMouseMove)
    .Event("OnMouseUp", &TControl::OnMouseUp)
    .Event("OnResize", &TControl::OnResize)
END_PROPERTIES

BEGIN_PROPERTIES(TWinControl, TControl)
    .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Stored([](TWinControl* c) { return !IsForm(c); })
    .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
    .Event("OnEnter", &TWinControl::OnEnter)
    .Event("OnExit", &TWinControl::OnExit)
    .Event("OnKeyDown", &TWinControl::OnKeyDown)
    .Event("OnKeyPress", &TWinControl::OnKeyPress)
    .Event("OnKeyUp", &TWinControl::OnKeyUp)
END_PROPERTIES

BEGIN_PROPERTIES(TGraphicControl, TControl)
END_PROPERTIES
BEGIN_PROPERTIES(TCustomControl, TWinControl)
END_PROPERTIES

// A panel is constructed with its own colour, so ParentColor starts False and is stored
// when True.
BEGIN_PROPERTIES(TCustomPanel, TCustomControl)
    .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
    .Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, AlignmentNames)
        .Default(taCenter)
    .Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, BevelCutNames)
        .Default(bvNone)
    .Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, BevelCutNames)
        .Default(bvRaised)
    .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1)
    .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0)
    .Enum("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle,
        BorderStyleNames).Default(bsNone)
    .Bool("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true)
    .Bool("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked).Default(false)
END_PROPERTIES
BEGIN_PROPERTIES(TPanel, TCustomPanel)
END_PROPERTIES

BEGIN_PROPERTIES(TBevel, TGraphicControl)
    .Enum("Shape", &TBevel::Shape, &TBevel::SetShape, { "bsBox", "bsFrame", "bsTopLine",
        "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer" }).Default(bsBox)
    .Enum("Style", &TBevel::Style, &TBevel::SetStyle, { "bsLowered", "bsRaised" }).Default(bsLowered)
END_PROPERTIES

BEGIN_PROPERTIES(TImage, TGraphicControl)
    .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false)
    .Bool("Center", &TImage::Center, &TImage::SetCenter).Default(false)
    .Object("Picture", &TImage::Picture)
    .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false)
    .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false)
END_PROPERTIES

BEGIN_PROPERTIES(TPaintBox, TGraphicControl)
    .Event("OnPaint", &TPaintBox::OnPaint)
END_PROPERTIES

BEGIN_PROPERTIES(TCustomForm, TWinControl)
    .Reference("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
    .Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
        BorderStyleNames).Default(bsSizeable)
    .Int("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
    .Int("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
    .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false)
    .Bool("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
    .Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
    .Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, { "poDesigned",
        "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter" }).Default(poDesigned)
    // Stored by some descriptions; the text height follows from the font.
    .Int("TextHeight", [](TCustomForm*) { return 0; }, [](TCustomForm*, int) { }).Stored(false)
    .Event("OnClose", &TCustomForm::OnClose)
    .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
    .Event("OnCreate", &TCustomForm::OnCreate)
    .Event("OnDestroy", &TCustomForm::OnDestroy)
    .Event("OnHide", &TCustomForm::OnHide)
    .Event("OnShow", &TCustomForm::OnShow)
END_PROPERTIES
BEGIN_PROPERTIES(TForm, TCustomForm)
END_PROPERTIES

BEGIN_PROPERTIES(TTimer, TComponent)
    .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true)
    .Int("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000)
    .Event("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer)
END_PROPERTIES

// Referenced by the application unit so that this unit is always linked.
void RegisterFrameworkClasses() { (void)ColorNamesInstalled; }
