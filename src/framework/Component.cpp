#include "framework/Component.h"

#include <algorithm>
#include <map>

bool TPropInfo::IsOrdinal() const
{
    switch (Kind) {
    case TPropKind::Integer:
    case TPropKind::Bool:
    case TPropKind::Enum:
    case TPropKind::Set:
    case TPropKind::Color:
        return true;
    default:
        return false;
    }
}

void AddProperty(TPropList &props, TPropInfo info)
{
    for (TPropInfo &p : props) {
        if (p.Name.compare(info.Name, Qt::CaseInsensitive) == 0) {
            p = std::move(info);
            return;
        }
    }
    props.push_back(std::move(info));
}

TComponent::TComponent(TComponent *owner) : FOwner(owner)
{
    if (FOwner)
        FOwner->Insert(this);
}

TComponent::~TComponent()
{
    // The fields the references point at belong to a derived part that is already gone.
    FReferences.clear();
    while (!FComponents.empty())
        delete FComponents.back();
    if (FOwner)
        FOwner->Remove(this);
}

void TComponent::SetName(const QString &name)
{
    if (name == FName)
        return;
    if (FOwner)
        FOwner->Unbind(this);
    FName = name;
    if (FOwner)
        FOwner->Bind(this);
}

TComponent *TComponent::FindComponent(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent *c : FComponents)
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

const TPropList &TComponent::BaseProperties()
{
    static const TPropList props = [] {
        TPropList p;
        AddProperty(p, OrdinalProperty("Tag", TPropKind::Integer, &TComponent::Tag, 0));
        return p;
    }();
    return props;
}

const TPropList &TComponent::Properties() const
{
    return BaseProperties();
}

const TPropInfo *TComponent::FindProperty(const QString &name) const
{
    for (const TPropInfo &p : Properties())
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

std::function<void(TComponent *)> TComponent::MethodAddress(const QString &) const
{
    return {};
}

bool TComponent::ReferenceAccepts(const QString &name, TComponent *component) const
{
    for (const TReference &r : FReferences)
        if (r.Name.compare(name, Qt::CaseInsensitive) == 0 && !r.Accepts(component))
            return false;
    return true;
}

void TComponent::Insert(TComponent *child)
{
    FComponents.push_back(child);
    Bind(child);
}

void TComponent::Remove(TComponent *child)
{
    Unbind(child);
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), child), FComponents.end());
}

void TComponent::Bind(TComponent *child)
{
    if (child->Name().isEmpty())
        return;
    for (TReference &r : FReferences)
        if (r.Name.compare(child->Name(), Qt::CaseInsensitive) == 0 && r.Get() == nullptr && r.Accepts(child))
            r.Set(child);
}

void TComponent::Unbind(TComponent *child)
{
    for (TReference &r : FReferences) {
        if (r.Get() != child)
            continue;
        // Another owned component of the same name takes the reference over.
        TComponent *next = nullptr;
        for (TComponent *c : FComponents)
            if (c != child && !c->Name().isEmpty() && c->Name().compare(r.Name, Qt::CaseInsensitive) == 0
                && r.Accepts(c)) {
                next = c;
                break;
            }
        r.Set(next);
    }
}

namespace {

struct TCaseless {
    bool operator()(const QString &a, const QString &b) const
    {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }
};

std::map<QString, TComponentFactory, TCaseless> &ClassRegistry()
{
    static std::map<QString, TComponentFactory, TCaseless> registry;
    return registry;
}

} // namespace

void RegisterComponentClass(const QString &className, TComponentFactory factory)
{
    ClassRegistry()[className] = std::move(factory);
}

bool IsComponentClassRegistered(const QString &className)
{
    return ClassRegistry().count(className) != 0;
}

TComponent *CreateComponentByClassName(const QString &className, TComponent *owner)
{
    const auto it = ClassRegistry().find(className);
    if (it == ClassRegistry().end())
        return nullptr;
    return it->second(owner);
}
