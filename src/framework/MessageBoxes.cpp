#include "framework/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

QWidget *MessageBoxParent(QWidget *fallback)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return fallback;
}

namespace {

// Texts in boxes often come from outside (a typed or pasted colour, a file name): they are shown
// as they are, never read as rich text (which would load the images it names).
void ShowBox(QMessageBox::Icon icon, const QString &caption, const QString &text, QWidget *parent)
{
    QMessageBox box(icon, caption, QString(), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.exec();
}

} // namespace

void TQtMessageSink::ShowMessage(const QString &text)
{
    ShowBox(QMessageBox::NoIcon, FTitle, text, MessageBoxParent(FWindow));
}

void TQtMessageSink::ShowError(const QString &text)
{
    ShowBox(QMessageBox::Critical, FTitle, text, MessageBoxParent(FWindow));
}

void TQtMessageSink::ShowStoreError(const QString &text)
{
    ShowBox(QMessageBox::Critical, QStringLiteral("エラー"), text, MessageBoxParent(FWindow));
}
