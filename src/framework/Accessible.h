#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
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
