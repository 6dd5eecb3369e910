#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

// One entry of a window's command menu.
struct TCommandEntry {
    QString Text;          // the entry's caption
    QKeySequence Shortcut; // works in the whole window, menu open or not; empty for none
    std::function<void()> Run;
    // Empty: the command can always run. Otherwise asked each time the menu opens; an entry that
    // cannot run is shown disabled. Its shortcut still reaches Run, which must cope on its own.
    std::function<bool()> CanRun;
    // Non-empty makes a checkable entry showing this state, asked each time the menu opens and
    // after each run.
    std::function<bool()> Checked;
};

// A window's command menu: a QMenu of commands with their shortcuts. It opens with F10 wherever
// the focus is in the window, and with a right click (or the menu key) on the window's
// background, on a label, or on a widget registered with OpenOnRightClick. Edits and buttons
// keep their own right click.
class TCommandMenu : public QObject {
    Q_OBJECT
public:
    explicit TCommandMenu(QWidget *window);
    ~TCommandMenu() override;

    // Appends an entry; the action belongs to the menu and is also added to the window so that
    // its shortcut works while the menu is closed.
    QAction *AddCommand(const TCommandEntry &entry);
    void AddSeparator();
    // Appends a submenu; the menu belongs to the command menu.
    QMenu *AddSubmenu(const QString &title);
    // A right click on w (a child of the window) opens the menu too.
    void OpenOnRightClick(QWidget *w);

    QMenu *Menu() const { return FMenu; }
    // The command entries, in menu order (separators and the F10 action not included).
    QList<QAction *> Commands() const;
    // The F10 action that opens the menu.
    QAction *OpenAction() const { return FOpen; }

    // Brings every entry's enabled and checked state up to date.
    void Refresh();
    // Opens the menu at a global position and returns at once (the menu closes on a choice or on
    // Escape). Without a position (from the keyboard): below the focused widget, else at the
    // window's top left, with its first entry that can run made current.
    void Open(std::optional<QPoint> globalPos = std::nullopt);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Sync(QAction *action) const;

    QWidget *FWindow;
    QMenu *FMenu;
    QAction *FOpen;
    QList<QWidget *> FRightClickWidgets;
    QHash<const QAction *, TCommandEntry> FEntries;
};
