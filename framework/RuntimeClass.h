// Run-time class information: a class name and its base, enough to ask an
// object what it is. No dynamic creation.
#pragma once

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    bool IsDerivedFrom(const CRuntimeClass* pBase) const {
        for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
            if (p == pBase) return true;
        }
        return false;
    }
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }
};

inline const CRuntimeClass CObject::classCObject = {"CObject", nullptr};

// The run-time class record of a class, by the name its classes give it.
#define RUNTIME_CLASS(name) (&name::class##name)
