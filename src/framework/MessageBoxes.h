#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

// Where the program's message boxes go. The Qt implementation shows modal boxes; tests install
// TRecordingMessageSink so that nothing ever blocks in a modal loop.
class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // Plain box: the application title as caption, one OK button.
    virtual void ShowMessage(const QString &text) = 0;
    // Error box of a failed command: application title, error-stop icon, one OK button.
    virtual void ShowError(const QString &text) = 0;
    // The settings store's own error box, captioned "エラー".
    virtual void ShowStoreError(const QString &text) = 0;
};

// The window a box belongs over: the modal window open now (the one that asked, while it runs),
// else the active window, else `fallback`.
QWidget *MessageBoxParent(QWidget *fallback);

class TQtMessageSink : public TMessageSink {
public:
    explicit TQtMessageSink(QString title) : FTitle(std::move(title)) {}
    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    void ShowStoreError(const QString &text) override;
    // The window boxes belong over when no window of the program is active (the desktop's own
    // dialog in front, say).
    void SetWindow(QWidget *window) { FWindow = window; }

private:
    QString FTitle;
    QPointer<QWidget> FWindow;
};

enum class TMessageKind { Message, Error, StoreError };

struct TRecordedMessage {
    TMessageKind kind;
    QString caption;
    QString text;
};

class TRecordingMessageSink : public TMessageSink {
public:
    explicit TRecordingMessageSink(QString title = QStringLiteral("Pigmora")) : FTitle(std::move(title)) {}
    void ShowMessage(const QString &text) override { Messages.push_back({TMessageKind::Message, FTitle, text}); }
    void ShowError(const QString &text) override { Messages.push_back({TMessageKind::Error, FTitle, text}); }
    void ShowStoreError(const QString &text) override
    {
        Messages.push_back({TMessageKind::StoreError, QStringLiteral("エラー"), text});
    }
    std::vector<TRecordedMessage> Messages;

private:
    QString FTitle;
};
