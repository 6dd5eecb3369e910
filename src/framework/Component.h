#pragma once

#include <QString>

#include <memory>
#include <vector>

// Base of every component that has an owner, a name and owned children. A component is
// destroyed with its owner.
class TComponent {
public:
    explicit TComponent(TComponent *owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    virtual QString ClassName() const = 0;

    TComponent *Owner() const { return FOwner; }
    const QString &Name() const { return FName; }
    void SetName(const QString &name) { FName = name; }
    int Tag = 0;

    const std::vector<TComponent *> &Components() const { return FComponents; }
    TComponent *FindComponent(const QString &name) const;

private:
    void Insert(TComponent *child);
    void Remove(TComponent *child);

    TComponent *FOwner = nullptr;
    QString FName;
    std::vector<TComponent *> FComponents;
};
