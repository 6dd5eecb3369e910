#pragma once

#include "framework/Clock.h"
#include "framework/ColorDialog.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/MessageBoxes.h"
#include "framework/ScreenPick.h"
#include "picker/ColPickDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <optional>

struct TFieldWrites;
class TShineSpeedButton;
class TLozengeCheckBox;
class TRegManager;
class TAppHintN;
class TCommandMenu;
class QMenu;
class QMimeData;

// What the main window is given rather than reaching for it.
struct TForm1Env {
    TMessageSink *Messages = nullptr;
    // How the platform colour dialog runs; empty for Qt's own dialog.
    TColorDialog::TRunner ColorDialogRunner;
    // Time of day that seeds the random commands; nullptr for the system clock.
    const TClock *Clock = nullptr;
    // How the program's own picker window runs; empty for its modal loop.
    TColorPickerDialog::TRunner PickerRunner;
    // The settings file read at start (see SettingsFilesFor); empty keeps no settings.
    QString IniFileName;
    // How colours are taken from the screen; its Messages is filled in from the window's own.
    TScreenPickEnv ScreenPick;
    // The platform's warning beep; empty for QApplication::beep.
    std::function<void()> Beep;
    // Where the close stores them when that is another file (the first close after reading a
    // read-only copy); empty for IniFileName.
    QString IniStoreFileName;
};

// The main window: the current colour in every notation, the commands that set it, copy it and
// read it back, and the Japanese text escapes.
class TForm1 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm1(const TForm1Env &env, QWidget *parent = nullptr);
    ~TForm1() override;
    QString ClassName() const override { return QStringLiteral("TForm1"); }
    bool IsForm() const override { return true; }

    // Controls, in the order of the window description.
    TShineSpeedButton *RGBButton, *RGBFButton, *ExitButton;
    QLabel *Label1;
    TShineSpeedButton *OpenButton;
    QLabel *Label2, *Label3, *Label4;
    TShineSpeedButton *DelphiButton, *HtmlButton;
    QLabel *Label7, *Label10;
    TShineSpeedButton *FhotoButton, *AboutButton, *RestoreButton, *ClearButton, *Re_DeButton, *Re_HtButton,
        *Re_PerButton, *Re_RgbButton, *RGBTButton, *RepreButton, *RandomButton1, *RandomButton2, *KanjiButton,
        *UniCodeButton;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *PovEdit;
    TLozengeCheckBox *LCheckBox;
    QLineEdit *FTEdit, *KanjiEdit, *UniCodeEdit;
    TColorDialog *ColorDialog = nullptr;
    TColorPickerDialog *ColorPickerDialog = nullptr;
    TAppHintN *AppHintN1 = nullptr;
    TRegManager *RegManager1 = nullptr;
    // The window's command menu (F10, right click on the background or the swatch).
    TCommandMenu *CommandMenu = nullptr;

    // The current colour and the texts of its last rendering.
    TColor fMyColor = 0;
    QString fColorText, fRR, fGG, fBB, fRgbfText, fRgbtText, fRestoreText, fFilterText;
    // The POV-Ray 3.7 gamma switch: POV-Ray notations written with srgb, srgbf and srgbt.
    bool fSrgb = false;
    // "Pick as the monitor shows it": the eyedropper converts through the display profile.
    bool fAsShown = false;

    void DoRGB();
    // Makes a colour current and renders it everywhere; an empty result changes nothing.
    void SetColor(std::optional<TColor> color);
    void MyRGB();
    void SetSwatchColor(TColor color);
    TColor SwatchColor() const { return FSwatchColor; }

    // Command handlers.
    void OpenButtonClick();
    void AboutButtonClick();
    void ExitButtonClick();
    void RGBButtonClick();
    void RGBFButtonClick();
    void RGBTButtonClick();
    void DelphiButtonClick();
    void HtmlButtonClick();
    void LCheckBoxClick();
    void PhotoButtonClick();
    void InitPalette();
    void RestoreButtonClick();
    void Re_DeButtonClick();
    void Re_HtButtonClick();
    void Re_RgbButtonClick();
    void Re_PerButtonClick();
    void RandomButton1Click();
    void RandomButton2Click();
    void RepreButtonClick();
    void ClearButtonClick();
    void KanjiButtonClick();
    void UniCodeButtonClick();
    void KanjiEditClick();
    void UniCodeEditClick();
    // "Pick from screen": a colour taken from the screen becomes the current colour.
    void ScreenPickClick();
    // The eyedropper both windows use, made at its first use.
    TScreenPicker &ScreenPicker();
    // "Paste colour": the clipboard's colour in any notation, or a beep.
    void PasteColorClick();
    // The srgb switch, turned; re-renders as the pigment switch does.
    void SrgbSwitchClick();
    // The "Pick as the monitor shows it" switch, turned.
    void AsShownSwitchClick();
    // Makes the colour that the data hold current (ColorFromMime); false when they hold none.
    bool TakeColor(const QMimeData *data);

protected:
    void closeEvent(QCloseEvent *e) override;
    // Clicks into the Japanese and escape fields, and the Japanese field taking the focus.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    // The keyboard's way to every command.
    void CreateKeyboardCommands();
    // An edit's own menu (its standard entries) with the window's commands in a submenu.
    QMenu *EditMenu(QLineEdit *edit);
    void FormCloseQuery();
    void LoadSettings();
    // Colours and fonts of the command buttons, and the balloon tool tips.
    void ApplyLook();
    // The command menu with its entries, and colour drag and drop on the swatch.
    void CreateCommands();
    void LoadSrgbSetting();
    void StoreSrgbSetting();
    void LoadAsShownSetting();
    void StoreAsShownSetting();
    // Writes a switch's item, unless it is off and the file never had it.
    void StoreSwitch(const QString &item, bool on, bool stored);
    void Beep();
    QPoint OnSomeScreen(QPoint stored) const;
    // Runs a handler through the command dispatch: a failure shows the error box.
    void Command(void (TForm1::*handler)());
    void CopyField(QLineEdit *edit);
    void PutOnClipboard(const QString &text);
    // Writes what a restore command gives into the fields it names.
    void ApplyRestore(const TFieldWrites &w);
    const TClock &Clock() const;

    TForm1Env FEnv;
    TColor FSwatchColor = 0;
    TScreenPicker *FScreenPicker = nullptr;
    // The switches as the settings file held them at start.
    bool FSrgbStored = false;
    bool FAsShownStored = false;
};
