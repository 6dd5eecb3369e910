#include "framework/MessageBoxes.h"

#include <QMessageBox>

void TQtMessageSink::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, FTitle, text, QMessageBox::Ok);
    box.exec();
}

void TQtMessageSink::ShowError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, FTitle, text, QMessageBox::Ok);
    box.exec();
}

void TQtMessageSink::ShowStoreError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::Ok);
    box.exec();
}
