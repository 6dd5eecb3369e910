#include "app/CommandMenu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QWidget>

TCommandMenu::TCommandMenu(QWidget *window) : QObject(window), FWindow(window), FMenu(new QMenu(window))
{
    FMenu->setObjectName(QStringLiteral("CommandMenu"));
    connect(FMenu, &QMenu::aboutToShow, this, &TCommandMenu::Refresh);
    // While the menu is closed every shortcut reaches its command, which decides itself.
    connect(FMenu, &QMenu::aboutToHide, this, [this] {
        for (QAction *a : Commands())
            a->setEnabled(true);
    });

    FOpen = new QAction(QStringLiteral("Command menu"), this);
    FOpen->setShortcut(QKeySequence(Qt::Key_F10));
    FOpen->setShortcutContext(Qt::WindowShortcut);
    connect(FOpen, &QAction::triggered, this, [this] { Open(); });
    FWindow->addAction(FOpen);
    FWindow->installEventFilter(this);
}

TCommandMenu::~TCommandMenu() = default;

QAction *TCommandMenu::AddCommand(const TCommandEntry &entry)
{
    auto *action = new QAction(entry.Text, FMenu);
    FEntries.insert(action, entry);
    if (!entry.Shortcut.isEmpty()) {
        action->setShortcut(entry.Shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    if (entry.Checked)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, action] {
        if (const auto it = FEntries.constFind(action); it != FEntries.cend() && it->Run)
            it->Run();
        Sync(action);
    });
    FMenu->addAction(action);
    FWindow->addAction(action);
    Sync(action);
    return action;
}

void TCommandMenu::AddSeparator()
{
    FMenu->addSeparator();
}

QMenu *TCommandMenu::AddSubmenu(const QString &title)
{
    return FMenu->addMenu(title);
}

void TCommandMenu::OpenOnRightClick(QWidget *w)
{
    if (w && !FRightClickWidgets.contains(w))
        FRightClickWidgets.append(w);
}

QList<QAction *> TCommandMenu::Commands() const
{
    QList<QAction *> result;
    for (QAction *a : FMenu->actions())
        if (FEntries.contains(a))
            result.append(a);
    return result;
}

void TCommandMenu::Sync(QAction *action) const
{
    const auto it = FEntries.constFind(action);
    if (it != FEntries.cend() && it->Checked)
        action->setChecked(it->Checked());
}

void TCommandMenu::Refresh()
{
    for (QAction *a : Commands()) {
        const TCommandEntry &e = FEntries[a];
        a->setEnabled(!e.CanRun || e.CanRun());
        Sync(a);
    }
}

void TCommandMenu::Open(std::optional<QPoint> globalPos)
{
    const bool fromKeyboard = !globalPos;
    if (!globalPos) {
        QWidget *focus = QApplication::focusWidget();
        if (focus && focus != FWindow && FWindow->isAncestorOf(focus))
            globalPos = focus->mapToGlobal(QPoint(0, focus->height()));
        else
            globalPos = FWindow->mapToGlobal(QPoint(0, 0));
    }
    FMenu->popup(*globalPos);
    // Opened from the keyboard, the menu starts on its first entry that can run, so that a
    // screen reader says the menu is open and where, and Return runs that entry.
    if (fromKeyboard)
        for (QAction *a : FMenu->actions())
            if (!a->isSeparator() && a->isVisible() && a->isEnabled()) {
                FMenu->setActiveAction(a);
                break;
            }
}

bool TCommandMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FWindow && event->type() == QEvent::ContextMenu) {
        // Children that do not take the event pass it on to the window, positions mapped.
        auto *e = static_cast<QContextMenuEvent *>(event);
        QWidget *child = FWindow->childAt(e->pos());
        if (!child || qobject_cast<QLabel *>(child) || FRightClickWidgets.contains(child)) {
            Open(e->globalPos());
            e->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
