#pragma once

#include "framework/Clock.h"
#include "framework/ColorDialog.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/MessageBoxes.h"
#include "picker/ColPickDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <optional>

struct TFieldWrites;
class TShineSpeedButton;
class TLozengeCheckBox;
class TRegManager;
class TAppHintN;

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

    // The current colour and the texts of its last rendering.
    TColor fMyColor = 0;
    QString fColorText, fRR, fGG, fBB, fRgbfText, fRgbtText, fRestoreText, fFilterText;

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

protected:
    void closeEvent(QCloseEvent *e) override;
    // Clicks into the Japanese and escape fields, and the Japanese field taking the focus.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormCloseQuery();
    void LoadSettings();
    // Colours and fonts of the command buttons, and the balloon tool tips.
    void ApplyLook();
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
};
