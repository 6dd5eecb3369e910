// How the main window reads to a screen reader: each command button named by its caption and
// what its command does, each field by the labels and buttons around it.
#include "app/Unit1.h"

#include "app/Announcements.h"
#include "app/ColorSwatch.h"
#include "app/WindowCommands.h"
#include "widgets/LCBox.h"
#include "widgets/ShineSpdBtn.h"

#include "framework/Accessible.h"

namespace {

// The window itself: a frame named by its caption, as a screen reader announces windows.
class TForm1Accessible : public QAccessibleWidget {
public:
    explicit TForm1Accessible(TForm1 *form) : QAccessibleWidget(form, QAccessible::Window) {}
};

// The caption, and what the command does where the caption does not say it ("rgb: Copy rgb
// (POV-Ray)"); the caption alone where the command's text is the caption ("Exit").
QString CommandButtonName(const QString &caption, const QString &commandText)
{
    if (commandText.isEmpty() || commandText.compare(caption, Qt::CaseInsensitive) == 0)
        return caption;
    return caption + QStringLiteral(": ") + commandText;
}

} // namespace

void TForm1::InstallWindowAccessible()
{
    InstallAccessible<TForm1, TForm1Accessible>();
}

void TForm1::NameControls()
{
    for (const auto &[button, handler] : FButtonCommands) {
        QString text;
        for (const TWindowCommand &command : MainWindowCommands())
            if (command.Handler == handler)
                text = command.Text;
        button->setAccessibleName(CommandButtonName(button->Caption(), text));
    }

    const struct {
        QLineEdit *edit;
        const char *name;
    } fields[] = {
        {PovEdit, "POV-Ray colour"},
        {Edit1, "Red 0-100%"},
        {Edit2, "Green 0-100%"},
        {Edit3, "Blue 0-100%"},
        {Edit6, "Red 0-255"},
        {Edit7, "Green 0-255"},
        {Edit8, "Blue 0-255"},
        {Edit4, "Delphi constant (BGR)"},
        {Edit5, "HTML (RGB)"},
        {FTEdit, "Filter"},
        {KanjiEdit, "Japanese text"},
        {UniCodeEdit, "Escapes"},
    };
    for (const auto &field : fields)
        field.edit->setAccessibleName(QString::fromUtf8(field.name));
    // The row titles ("Red") label no field: a screen reader would say a field's label instead
    // of its name, and the names already hold the title with the field's unit.

    // Space toggles the pigment box as a click does, as it does every other check box.
    LCheckBox->OnkeyDown = [](TLozengeCheckBox *box, int &key, TShiftState shift) {
        if (key == Qt::Key_Space && (shift & (ssShift | ssAlt | ssCtrl)) == 0) {
            key = 0;
            box->Click();
        }
    };

    Label1->setAccessibleName(QStringLiteral("Current colour"));
    AnnounceChanges(this, Label1);
}
