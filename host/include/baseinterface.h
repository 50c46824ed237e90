// InterfaceServer: objects that can hand out extension interfaces by id.
#pragma once

#include "maxtypes.h"

class Interface_ID {
public:
    constexpr Interface_ID() : a(0), b(0) {}
    constexpr Interface_ID(ULONG aa, ULONG bb) : a(aa), b(bb) {}
    constexpr bool operator==(const Interface_ID& o) const { return a == o.a && b == o.b; }
    constexpr bool operator!=(const Interface_ID& o) const { return !(*this == o); }
    constexpr ULONG PartA() const { return a; }
    constexpr ULONG PartB() const { return b; }

private:
    ULONG a, b;
};

class BaseInterface;

class InterfaceServer {
public:
    virtual ~InterfaceServer() = default;
    virtual BaseInterface* GetInterface(Interface_ID id) { return nullptr; }
};
