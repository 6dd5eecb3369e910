#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TComponent;

// An event of a component: the method name it is stored under and the handler it runs.
struct TNotifyEvent {
    QString Method;
    std::function<void(TComponent *sender)> Handler;

    bool Assigned() const { return Handler != nullptr; }
    void operator()(TComponent *sender) const
    {
        if (Handler)
            Handler(sender);
    }
};

// How a published property is stored in a component image.
enum class TPropKind {
    Integer, // 32-bit signed
    Bool,
    Enum,    // ordinal, stored as its identifier from Idents
    Set,     // bit n for member n of Idents
    Color,   // TColor, stored as its identifier when named
    String,
    Event,   // TNotifyEvent, stored as its method name when it has one
    Strings, // a contained string list, stored as Name + ".Strings"
};

// One published property: name, type, declared default and access.
struct TPropInfo {
    QString Name;
    TPropKind Kind = TPropKind::Integer;
    // Declared default of an ordinal property; an ordinal without one is always stored.
    std::optional<std::int64_t> Default;
    // Enumeration values or set members by ordinal.
    QStringList Idents;

    std::function<std::int64_t(const TComponent &)> GetOrd;
    std::function<void(TComponent &, std::int64_t)> SetOrd;
    std::function<QString(const TComponent &)> GetText;
    std::function<void(TComponent &, const QString &)> SetText;
    std::function<QStringList(const TComponent &)> GetLines;
    std::function<void(TComponent &, const QStringList &)> SetLines;
    std::function<TNotifyEvent(const TComponent &)> GetEvent;
    std::function<void(TComponent &, const TNotifyEvent &)> SetEvent;

    bool IsOrdinal() const;
};

// Published properties in declaration order, those of ancestor classes first.
using TPropList = std::vector<TPropInfo>;

// Adds a property, or puts it in the place of an ancestor's property of the same name.
void AddProperty(TPropList &props, TPropInfo info);

// Property over an ordinal data member (int, bool, enum, set bits, TColor).
template <class C, class F>
TPropInfo OrdinalProperty(const QString &name, TPropKind kind, F C::*field, std::optional<std::int64_t> def,
                          QStringList idents = {})
{
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Default = def;
    p.Idents = std::move(idents);
    p.GetOrd = [field](const TComponent &c) {
        return static_cast<std::int64_t>(static_cast<const C &>(c).*field);
    };
    p.SetOrd = [field](TComponent &c, std::int64_t v) { static_cast<C &>(c).*field = static_cast<F>(v); };
    return p;
}

// Property over a QString data member.
template <class C>
TPropInfo TextProperty(const QString &name, QString C::*field)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::String;
    p.GetText = [field](const TComponent &c) { return static_cast<const C &>(c).*field; };
    p.SetText = [field](TComponent &c, const QString &v) { static_cast<C &>(c).*field = v; };
    return p;
}

// Property over a TNotifyEvent data member.
template <class C>
TPropInfo EventProperty(const QString &name, TNotifyEvent C::*field)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Event;
    p.GetEvent = [field](const TComponent &c) { return static_cast<const C &>(c).*field; };
    p.SetEvent = [field](TComponent &c, const TNotifyEvent &v) { static_cast<C &>(c).*field = v; };
    return p;
}

// Property over a QStringList data member.
template <class C>
TPropInfo StringsProperty(const QString &name, QStringList C::*field)
{
    TPropInfo p;
    p.Name = name;
    p.Kind = TPropKind::Strings;
    p.GetLines = [field](const TComponent &c) { return static_cast<const C &>(c).*field; };
    p.SetLines = [field](TComponent &c, const QStringList &v) { static_cast<C &>(c).*field = v; };
    return p;
}

// Base of every component that has an owner, a name and owned children. A component is
// destroyed with its owner.
class TComponent {
public:
    explicit TComponent(TComponent *owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    virtual QString ClassName() const = 0;
    // Top-level windows are never stored as component images.
    virtual bool IsForm() const { return false; }

    TComponent *Owner() const { return FOwner; }
    const QString &Name() const { return FName; }
    // Renames the component; the owner's named reference moves from the old name to the new.
    void SetName(const QString &name);
    int Tag = 0;
    // Design position of a non-visual component, stored as "Left" and "Top".
    int DesignLeft = 0;
    int DesignTop = 0;

    const std::vector<TComponent *> &Components() const { return FComponents; }
    TComponent *FindComponent(const QString &name) const;

    // Published properties of the component's class; TComponent itself publishes "Tag".
    virtual const TPropList &Properties() const;
    const TPropInfo *FindProperty(const QString &name) const;

    // The handler stored under a method name, for events read from an image whose root is this
    // component; empty when this component has no such method.
    virtual std::function<void(TComponent *)> MethodAddress(const QString &method) const;

    // Makes `field` designate the owned component named `name` (ignoring case) whenever there is
    // one of a fitting class, and nullptr otherwise. It follows renames, replacement and
    // destruction of that component. `field` must live as long as this component.
    template <class T>
    void DeclareReference(const QString &name, T *&field)
    {
        TReference ref;
        ref.Name = name;
        ref.Accepts = [](TComponent *c) { return c == nullptr || dynamic_cast<T *>(c) != nullptr; };
        ref.Get = [&field] { return static_cast<TComponent *>(field); };
        ref.Set = [&field](TComponent *c) { field = dynamic_cast<T *>(c); };
        FReferences.push_back(std::move(ref));
        field = dynamic_cast<T *>(FindComponent(name));
    }
    // Whether the named reference `name` (if any) could designate `component`.
    bool ReferenceAccepts(const QString &name, TComponent *component) const;

protected:
    static const TPropList &BaseProperties();

private:
    struct TReference {
        QString Name;
        std::function<bool(TComponent *)> Accepts;
        std::function<TComponent *()> Get;
        std::function<void(TComponent *)> Set;
    };

    void Insert(TComponent *child);
    void Remove(TComponent *child);
    void Bind(TComponent *child);
    void Unbind(TComponent *child);

    TComponent *FOwner = nullptr;
    QString FName;
    std::vector<TComponent *> FComponents;
    std::vector<TReference> FReferences;
};

// Creates a new instance of a registered class with the given owner.
using TComponentFactory = std::function<TComponent *(TComponent *owner)>;

// Registers a class that may be created by name from stored data; a second registration of the
// same name replaces the first.
void RegisterComponentClass(const QString &className, TComponentFactory factory);
// Whether a class of that name (case ignored) is registered.
bool IsComponentClassRegistered(const QString &className);
// A new instance of the registered class, or nullptr when no class of that name is registered.
TComponent *CreateComponentByClassName(const QString &className, TComponent *owner);
