#pragma once

// The common root of the framework's objects: owners may delete any of them through a
// base pointer.
class CObject {
public:
    CObject() = default;
    virtual ~CObject() = default;
};
