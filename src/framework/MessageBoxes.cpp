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

void TQtMessageSink::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, FTitle, text, QMessageBox::Ok, MessageBoxParent(FWindow));
    box.exec();
}

void TQtMessageSink::ShowError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, FTitle, text, QMessageBox::Ok, MessageBoxParent(FWindow));
    box.exec();
}

void TQtMessageSink::ShowStoreError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::Ok, MessageBoxParent(FWindow));
    box.exec();
}
