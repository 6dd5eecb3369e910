#pragma once

#include "app/ColorSwatch.h"
#include "desktop/ScreenPick.h"
#include "framework/Clock.h"
#include "framework/ColorDialog.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/MessageBoxes.h"
#include "picker/ColPickDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct TFieldWrites;
struct TTakenColor;
struct TAnywhereSettings;
class TShineSpeedButton;
class TLozengeCheckBox;
class TRegManager;
class TAppHintN;
class TCommandMenu;
class TNotationsWindow;
class TJudgeWindow;
class TPaletteModel;
class TPaletteWindow;
class TColourState;
class TPickAnywhere;
class TAnywhereDialog;
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
    // Asks for a palette file's name: `save` for export; an empty answer cancels. Empty for Qt's
    // file dialogs (the desktop's own where the platform offers them).
    std::function<QString(bool save, const QString &caption, const QString &filter)> FileDialog;
    // Whether the window can be placed and tell its position; empty: decided by the platform
    // plugin (not on native Wayland).
    std::optional<bool> PlacesWindows;
    // Where the close stores them when that is another file (the first close after reading a
    // read-only copy); empty for IniFileName.
    QString IniStoreFileName;
};

// Whether any screen shows part of the frame: a stored place no screen shows (a hand-edited
// file, a monitor since removed) would leave a window out of reach.
bool ShownOnSomeScreen(const QRect &frame);

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
    TColorSwatch *Label1;
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
    // The side of the eyedropper's averaged square; the user's change during a pick.
    int fPickAverage = 1;
    void PickAverageChanged(int side);

    void DoRGB();
    // Makes a colour current and renders it everywhere; an empty result changes nothing.
    void SetColor(std::optional<TColor> color);
    void MyRGB();
    void SetSwatchColor(TColor color);
    TColor SwatchColor() const;

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
    // "Notations": opens the Notations window (made at its first opening), or closes it.
    void NotationsClick();
    // The Notations window; nullptr until it was first opened.
    TNotationsWindow *NotationsWindow() const { return FNotations; }
    // "Judge colour": opens the judging window (made at its first opening), or closes it.
    void JudgeClick();
    // The judging window; nullptr until it was first opened.
    TJudgeWindow *JudgeWindow() const { return FJudge; }
    // "Set as comparison colour": the current colour becomes the one its contrast is shown against.
    void SetComparisonClick();
    // "Export palette…": the eleven user colours and the history as a GIMP palette or CSS.
    void ExportPaletteClick();
    // "Import palette…": a GIMP palette's first colours become the user colours.
    void ImportPaletteClick();
    // "Clear colour history".
    void ClearHistoryClick();
    // The current colour exactly, and the additions' state around it.
    TColourState &Colour() const { return *FColour; }
    // "Palette": opens the palette window (made at its first opening), or closes it.
    void PaletteWindowClick();
    // The palette window; nullptr until it was first opened.
    TPaletteWindow *PaletteWindow() const { return FPaletteWindow; }
    TPaletteModel &Palette() const { return *FPalette; }
    TMessageSink *Messages() const { return FEnv.Messages; }
    // "Desktop-wide key…": the key, its notation and the tray, in their dialog.
    void AnywhereSettingsClick();
    // The desktop-wide key and the tray; nullptr until one of them was first on.
    TPickAnywhere *PickAnywhere() const { return FPickAnywhere; }
    // `--background`: runs with no window, the desktop-wide key and the tray on.
    void RunInBackground();
    // Whether the program runs on with its window closed (in the tray, or in the background).
    bool OutOfSight() const;

signals:
    // A colour became current and the swatch shows it (a full rendering, or a restore command).
    void ColorRendered();

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
    // Names, descriptions and label relations for screen readers (Unit1Access.cpp).
    void NameControls();
    static void InstallWindowAccessible();
    void LoadSrgbSetting();
    void StoreSrgbSetting();
    // Makes a taken colour current; one outside sRGB opens the Notations window, which says so.
    void Take(const TTakenColor &taken);
    // The Notations command, the "Copy as" submenu, and the window's stored state.
    void CreateNotationsCommands();
    // The judging window's command; the window follows the colour while it is shown.
    void CreateJudgeCommands();
    void UpdateJudge();
    // A slider move under way at the close enters the history before the history is stored.
    void SettleJudge();
    void LoadNotationsSettings();
    void StoreNotationsSettings();
    void ShowNotations();
    void UpdateNotations();
    // The history, the comparison colour and the palette commands, and their stored state.
    void CreatePaletteCommands();
    void LoadPaletteSettings();
    void StorePaletteSettings();
    // The palette window's command, and the user's palette in the settings file.
    void CreatePaletteWindowCommands();
    void LoadPaletteWindowSettings();
    void StorePaletteWindowSettings();
    // The exact colour's own key, beside the 8 bits of fMyColor.
    void LoadExactSetting();
    void StoreExactSetting();
    QString AskFileName(bool save, const QString &caption, const QString &filter);
    void LoadAsShownSetting();
    void StoreAsShownSetting();
    // The desktop-wide key's and the tray's settings (Unit1Anywhere.cpp).
    void CreateAnywhereCommands();
    void LoadAnywhereSettings();
    void StoreAnywhereSettings();
    void ApplyAnywhere(bool background);
    // Reads the rest of them from the settings file, once, when they are first needed.
    void ReadAnywhereSettings();
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
    // Each command button with the handler its click runs, in the order of the description.
    std::vector<std::pair<TShineSpeedButton *, void (TForm1::*)()>> FButtonCommands;
    TScreenPicker *FScreenPicker = nullptr;
    // The stored position as read at start, where the platform cannot place the window: the
    // close writes it back unchanged.
    std::optional<QPoint> FStoredPos;
    // The switch as the settings file held it at start.
    bool FSrgbStored = false;
    TNotationsWindow *FNotations = nullptr;
    TJudgeWindow *FJudge = nullptr;
    TColourState *FColour = nullptr;
    bool FAsShownStored = false;
    // Whether the user changed the eyedropper's averaged square since start.
    bool FPickAverageChanged = false;
    void LoadAverageSetting();
    void StoreAverageSetting();
    TPaletteModel *FPalette = nullptr;
    TPaletteWindow *FPaletteWindow = nullptr;
    // The desktop-wide key and the tray: as the file held them, as they are now.
    std::unique_ptr<TAnywhereSettings> FAnywhereStored, FAnywhere;
    bool FAnywhereRead = false;
    TPickAnywhere *FPickAnywhere = nullptr;
    QPointer<TAnywhereDialog> FAnywhereDialog;
};
