#include "framework/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent *owner) : FOwner(owner)
{
    if (FOwner)
        FOwner->Insert(this);
}

TComponent::~TComponent()
{
    while (!FComponents.empty())
        delete FComponents.back();
    if (FOwner)
        FOwner->Remove(this);
}

TComponent *TComponent::FindComponent(const QString &name) const
{
    for (TComponent *c : FComponents)
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::Insert(TComponent *child)
{
    FComponents.push_back(child);
}

void TComponent::Remove(TComponent *child)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), child), FComponents.end());
}
