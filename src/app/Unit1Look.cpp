// The look of the main window's commands and tool tips: shine-button colours and fonts per
// button, and the balloon hint manager.
#include "app/Unit1.h"

#include "framework/Fonts.h"
#include "widgets/NewHintN.h"
#include "widgets/ShineSpdBtn.h"

namespace {

const QString CaptionFace = QStringLiteral("Times New Roman");
const QString HotFace = QStringLiteral("ＭＳ Ｐゴシック");

// One button's settings; every field not given keeps the value common to all twenty.
struct TButtonLook {
    TColor Face;
    TColor Active = clHighlightText;
    bool ActiveEnabled = false;
    QString FontName = CaptionFace;
    int FontPixels = 15;
    bool FontBold = true;
    TColor FontColor = clBtnText;
    int ActivePixels = 15;
    bool ActiveBold = false;
    TColor ActiveColor = clHighlight;
    TDecorationImageType DownImage = diDefault;
};

void Apply(TShineSpeedButton *b, const TButtonLook &look)
{
    b->SetUpFrame(false);
    b->Colors().SetColor(look.Face);
    b->PressedColors().SetColor(clBtnHighlight);
    b->ActiveColors().SetColor(look.Active);
    b->SetActiveColorsEnabled(look.ActiveEnabled);
    b->Font().Set(MakeFont(look.FontName, look.FontPixels, look.FontBold), look.FontColor);
    b->ActiveFont().Set(MakeFont(HotFace, look.ActivePixels, look.ActiveBold), look.ActiveColor);
    b->SetDownImage(look.DownImage);
}

} // namespace

void TForm1::ApplyLook()
{
    const TButtonLook restoreSmall{.Face = 15332852, .Active = 5276872, .ActiveEnabled = true, .FontPixels = 13,
                                   .FontColor = 8742230, .ActiveColor = 15527654};
    TButtonLook rePer = restoreSmall;
    rePer.DownImage = diAlphaHalfTrans;
    const TButtonLook reBgr{.Face = 15332852, .Active = 8234866, .ActiveEnabled = true, .FontPixels = 13,
                            .FontColor = 8742230, .ActivePixels = 13, .ActiveColor = 15527654};
    const TButtonLook random{.Face = 15332852, .Active = 15841692, .ActiveEnabled = true, .FontBold = false,
                             .FontColor = 3169231, .ActiveColor = 14610925};

    const std::pair<TShineSpeedButton *, TButtonLook> looks[] = {
        {RGBButton, {.Face = 13295574}},
        {RGBFButton, {.Face = 13819850}},
        {RGBTButton, {.Face = 13819850}},
        {ExitButton, {.Face = 12173783, .FontName = QStringLiteral("Tiranti Solid LET"), .ActiveColor = clRed}},
        {OpenButton, {.Face = 13743768, .ActiveColor = 3169231}},
        {FhotoButton, {.Face = 10992817, .ActiveColor = 3169231}},
        {DelphiButton, {.Face = 15261661}},
        {HtmlButton, {.Face = 15332852}},
        {AboutButton, {.Face = 14347751, .FontBold = false, .FontColor = 8742230}},
        {ClearButton, {.Face = 14347751, .FontBold = false, .FontColor = 7056201}},
        {RestoreButton, {.Face = 14347751, .Active = 13743512, .ActiveEnabled = true, .FontColor = 3169231,
                         .ActiveBold = true, .ActiveColor = 14807784}},
        {Re_DeButton, reBgr},
        {Re_HtButton, reBgr},
        {Re_PerButton, rePer},
        {Re_RgbButton, restoreSmall},
        {RepreButton, {.Face = 14152176, .Active = 15841692, .ActiveEnabled = true, .FontColor = 5205664,
                       .ActiveBold = true, .ActiveColor = 14610925}},
        {RandomButton1, random},
        {RandomButton2, random},
        {KanjiButton, {.Face = 12312033, .FontColor = 5792341}},
        {UniCodeButton, {.Face = 13487807, .FontColor = 6259604}},
    };
    for (const auto &[button, look] : looks)
        Apply(button, look);

    AppHintN1 = new TAppHintN(this);
    AppHintN1->SetName(QStringLiteral("AppHintN1"));
    AppHintN1->BGColor = 15254954;
    AppHintN1->Brush.Color = 14807784;
    AppHintN1->Font().Assign(MakeFont(CaptionFace, 15), 8742230);
    AppHintN1->Pen.Color = 8742230;
    AppHintN1->SetHintPause(500);
    AppHintN1->SetHintHidePause(2500);
    AppHintN1->SetHintShortPause(0);
    AppHintN1->SetHintStyle(hsFukidashi);
    AppHintN1->ShadowVisible = false;
    AppHintN1->Loaded();
}
