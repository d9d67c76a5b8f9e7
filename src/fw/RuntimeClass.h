// Run-time class information without RTTI: a name and the base class's record.
#pragma once

struct CRuntimeClass {
    const char* className;
    const CRuntimeClass* baseClass;

    bool IsDerivedFrom(const CRuntimeClass* other) const
    {
        for (const CRuntimeClass* c = this; c; c = c->baseClass)
            if (c == other) return true;
        return false;
    }
};
