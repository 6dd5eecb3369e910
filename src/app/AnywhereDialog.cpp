#include "app/AnywhereDialog.h"

#include "app/ConvertNotations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAnywhereDialog::TAnywhereDialog(const TAnywhereSettings &settings, QWidget *parent)
    : QDialog(parent), FSettings(settings)
{
    setObjectName(QStringLiteral("AnywhereDialog"));
    setWindowTitle(QStringLiteral("Desktop-wide key"));
    auto *layout = new QVBoxLayout(this);

    KeyOnBox = new QCheckBox(QStringLiteral("&Pick from screen with a desktop-wide key"), this);
    KeyOnBox->setChecked(settings.KeyOn);
    layout->addWidget(KeyOnBox);

    auto *form = new QFormLayout;
    KeyEdit = new QKeySequenceEdit(QKeySequence(settings.Key), this);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    KeyEdit->setAccessibleName(QStringLiteral("Key"));
    KeyEdit->setAccessibleDescription(QStringLiteral("Press the key with Ctrl, Alt or Super to use it"));
    auto *defaultButton = new QPushButton(QStringLiteral("&Default (%1)").arg(KeyText(DefaultGlobalKey)), this);
    auto *keyRow = new QHBoxLayout;
    keyRow->addWidget(KeyEdit, 1);
    keyRow->addWidget(defaultButton);
    auto *keyLabel = new QLabel(QStringLiteral("&Key:"), this);
    keyLabel->setBuddy(KeyEdit);
    form->addRow(keyLabel, keyRow);

    NotationBox = new QComboBox(this);
    NotationBox->setObjectName(QStringLiteral("NotationBox"));
    NotationBox->setAccessibleName(QStringLiteral("Copy as"));
    NotationBox->addItems(NotationNames());
    NotationBox->setCurrentText(settings.Notation);
    auto *notationLabel = new QLabel(QStringLiteral("&Copy as:"), this);
    notationLabel->setBuddy(NotationBox);
    form->addRow(notationLabel, NotationBox);
    layout->addLayout(form);

    TrayBox = new QCheckBox(QStringLiteral("Keep an icon in the &tray; Pigmora runs on when its window closes"), this);
    TrayBox->setChecked(settings.Tray);
    layout->addWidget(TrayBox);

    StateLabel = new QLabel(this);
    StateLabel->setTextFormat(Qt::PlainText);
    StateLabel->setObjectName(QStringLiteral("KeyState"));
    StateLabel->setAccessibleName(QStringLiteral("Key state"));
    StateLabel->setWordWrap(true);
    StateLabel->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    layout->addWidget(StateLabel);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // One key, not a sequence of them: the first key pressed is the key.
    connect(KeyEdit, &QKeySequenceEdit::keySequenceChanged, this, [this](const QKeySequence &keys) {
        if (keys.count() > 1)
            KeyEdit->setKeySequence(QKeySequence(keys[0]));
    });
    connect(defaultButton, &QPushButton::clicked, this, [this] { KeyEdit->setKeySequence(QKeySequence(DefaultGlobalKey)); });
    connect(KeyOnBox, &QCheckBox::toggled, this, &TAnywhereDialog::EnableKey);
    setTabOrder(KeyOnBox, KeyEdit);
    setTabOrder(KeyEdit, defaultButton);
    setTabOrder(defaultButton, NotationBox);
    setTabOrder(NotationBox, TrayBox);
    EnableKey();
}

void TAnywhereDialog::EnableKey()
{
    KeyEdit->setEnabled(KeyOnBox->isChecked());
}

TAnywhereSettings TAnywhereDialog::Settings() const
{
    TAnywhereSettings s = FSettings;
    s.KeyOn = KeyOnBox->isChecked();
    const QKeySequence keys = KeyEdit->keySequence();
    // An emptied key editor keeps the key it had.
    if (!keys.isEmpty())
        s.Key = keys[0];
    s.Notation = NotationBox->currentText();
    s.Tray = TrayBox->isChecked();
    return s;
}

void TAnywhereDialog::ShowKeyState(const QString &text)
{
    StateLabel->setText(text);
}
