#pragma once

#include "app/Unit1.h"
#include "widgets/LCBox.h"
#include "widgets/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// The main window on the offscreen platform, with recorded message boxes, a pinned clock and
// the platform colour dialog answered by the test (OK with dialogAnswer, Cancel when empty).
class Form1Fixture : public testing::Test {
protected:
    void SetUp() override
    {
        TForm1Env env;
        env.Messages = &messages;
        env.Clock = &clock;
        env.ColorDialogRunner = [this](TColorDialog &d) {
            dialogOpenedWith = d.Color;
            if (!dialogAnswer)
                return false;
            d.Color = *dialogAnswer;
            return true;
        };
        AdjustEnv(env);
        form = std::make_unique<TForm1>(env);
        form->show();
        QApplication::clipboard()->setText(QStringLiteral("untouched"));
    }
    // What a fixture of its own adds to the window's environment before the window is made.
    virtual void AdjustEnv(TForm1Env &) {}

    static void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2)); }

    // Picks a colour in the platform dialog with OK.
    void Pick(TColor c)
    {
        dialogAnswer = c;
        Click(form->OpenButton);
    }

    static QString Clipboard() { return QApplication::clipboard()->text(); }

    // Every text a full rendering writes.
    QStringList NotationFields() const
    {
        return {form->Label7->text(), form->Edit1->text(), form->Edit2->text(), form->Edit3->text(),
                form->Edit4->text(),  form->Edit5->text(), form->Edit6->text(), form->Edit7->text(),
                form->Edit8->text(),  form->PovEdit->text(), form->fRgbfText, form->fRgbtText};
    }

    TRecordingMessageSink messages;
    TFixedClock clock{TimeOfDayMs(12, 34, 56, 789)};
    std::optional<TColor> dialogAnswer;
    std::optional<TColor> dialogOpenedWith;
    std::unique_ptr<TForm1> form;
};

// The main window with the whole screen painted in `screen`, read the X11 way.
class Form1OneColourScreen : public Form1Fixture {
protected:
    void AdjustEnv(TForm1Env &env) override
    {
        env.ScreenPick.Path = TPickPath::ScreenGrab;
        env.ScreenPick.Screen.Grab = [this](int, const QRect &area) {
            QImage image(area.size(), QImage::Format_RGB32);
            image.fill(screen);
            return image;
        };
    }
    TPickOverlay *Overlay() { return form->ScreenPicker().Overlay(); }

    QRgb screen = qRgb(0x12, 0x34, 0x56);
};

// Main windows started one after another on one settings file in a scratch folder, as restarts.
class Form1Restarts : public testing::Test {
protected:
    std::unique_ptr<TForm1> Start()
    {
        TForm1Env env;
        env.Messages = &messages;
        env.IniFileName = ini;
        AdjustEnv(env);
        return std::make_unique<TForm1>(env);
    }
    // What a fixture of its own adds to each window's environment.
    virtual void AdjustEnv(TForm1Env &) {}
    static QByteArray Bytes(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray IniBytes() const { return Bytes(ini); }
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("pigmora.ini"));
    TRecordingMessageSink messages;
};
