#include "widgets/NewHintN.h"

#include <QApplication>
#include <QFontInfo>

namespace {

TAppHintN *ActiveManager = nullptr;
// The manager the application's hint events are routed to.
TAppHintN *RoutedManager = nullptr;

} // namespace

// ---- THintFont ----

THintFont::THintFont()
{
    FFont = QApplication::font();
    if (FFont.pixelSize() <= 0)
        FFont.setPixelSize(QFontInfo(FFont).pixelSize());
}

void THintFont::Changed()
{
    if (OnChange)
        OnChange();
}

void THintFont::SetName(const QString &value)
{
    if (value == FFont.family())
        return;
    FFont.setFamily(value);
    Changed();
}

void THintFont::SetHeight(int value)
{
    const int pixels = value < 0 ? -value : value;
    if (pixels == 0 || pixels == FFont.pixelSize())
        return;
    FFont.setPixelSize(pixels);
    Changed();
}

void THintFont::SetBold(bool value)
{
    if (value == FFont.bold())
        return;
    FFont.setBold(value);
    Changed();
}

void THintFont::SetItalic(bool value)
{
    if (value == FFont.italic())
        return;
    FFont.setItalic(value);
    Changed();
}

void THintFont::SetUnderline(bool value)
{
    if (value == FFont.underline())
        return;
    FFont.setUnderline(value);
    Changed();
}

void THintFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void THintFont::Assign(const THintFont &source)
{
    Assign(source.FFont, source.FColor);
}

void THintFont::Assign(const QFont &font, TColor color)
{
    QFont f = font;
    if (f.pixelSize() <= 0)
        f.setPixelSize(QFontInfo(f).pixelSize());
    if (f == FFont && color == FColor)
        return;
    FFont = f;
    FColor = color;
    Changed();
}

// ---- TAppHintN ----

TAppHintN::TAppHintN(TComponent *owner, TApplicationHints *application)
    : TComponent(owner), FApplication(application ? application : &TApplicationHints::Application())
{
    FFont.Assign(QApplication::font(), clLime);
    FFont.OnChange = [this] { FontChanged(); };
    // Active before the window is made, so that the new window measures with this manager's font.
    ActiveManager = this;
    InstallHintWindow();
}

TAppHintN::~TAppHintN()
{
    FFont.OnChange = nullptr;
    if (RoutedManager == this) {
        FApplication->OnHint = nullptr;
        FApplication->OnShowHint = nullptr;
        RoutedManager = nullptr;
    }
    if (ActiveManager == this)
        ActiveManager = nullptr;
}

TAppHintN *TAppHintN::Active()
{
    return ActiveManager;
}

void TAppHintN::InstallHintWindow()
{
    FApplication->SetHintWindowClass([]() -> THintWindow * { return new THintEx; });
    FApplication->SetShowHint(false);
    FApplication->SetShowHint(true);
}

void TAppHintN::Loaded()
{
    InstallHintWindow();
    FApplication->OnHint = [this](TApplicationHints *sender) { DoHint(sender); };
    FApplication->OnShowHint = [this](QString &hintStr, bool &canShow, THintInfo &info) {
        DoShowHint(hintStr, canShow, info);
    };
    RoutedManager = this;
}

void TAppHintN::DoHint(QObject *sender)
{
    if (OnHint)
        OnHint(sender);
}

void TAppHintN::DoShowHint(QString &hintStr, bool &canShow, THintInfo &hintInfo)
{
    hintInfo.HintMaxWidth -= 8;
    if (OnShowHint)
        OnShowHint(hintStr, canShow, hintInfo);
}

void TAppHintN::FontChanged()
{
    FApplication->SetShowHint(false);
    FApplication->SetShowHint(true);
}

void TAppHintN::SetHintStyle(THintStyle value)
{
    if (value == FHintStyle)
        return;
    FHintStyle = value;
    FApplication->SetShowHint(false);
    FApplication->SetShowHint(true);
}
