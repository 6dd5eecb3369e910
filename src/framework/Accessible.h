#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QString>

// Pairs a widget class with its accessible interface: installs, once per pair, a factory that
// answers for objects of exactly that class (by class name, then qobject_cast) with a new
// Interface(widget). Widgets call it from their constructor, before anything can ask for them.
template <class Widget, class Interface>
void InstallAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &className, QObject *object) -> QAccessibleInterface * {
            if (className != QLatin1String(Widget::staticMetaObject.className()))
                return nullptr;
            if (auto *widget = qobject_cast<Widget *>(object))
                return new Interface(widget);
            return nullptr;
        });
        return true;
    }();
    (void)installed;
}

// Tells a screen reader that a state of the object changed (checked, pressed, selected, ...).
inline void NotifyAccessibleState(QObject *object, QAccessible::State changed)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleStateChangeEvent event(object, changed);
    QAccessible::updateAccessibility(&event);
}

// The name a widget's own accessible name gives, or `fallback` when it has none.
inline QString AccessibleNameOr(const QWidget *widget, const QString &fallback)
{
    const QString own = widget->accessibleName();
    return own.isEmpty() ? fallback : own;
}

// Runs an accessible action on `object` from the event loop, as a click arrives: a command that
// opens a modal box must not hold the screen reader's call until the box is closed. Nothing
// runs when the object is gone by then.
template <class T, class Action>
void RunActionLater(T *object, Action action)
{
    QMetaObject::invokeMethod(
        object, [target = QPointer<T>(object), action] {
            if (target)
                action(target.data());
        },
        Qt::QueuedConnection);
}
