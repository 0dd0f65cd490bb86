#pragma once
// Shared helpers of the GString tests: reading a string's text and failing allocations on demand.

#include "text/GString.h"

#include <gtest/gtest.h>

#include <string>

inline std::u16string TextW(const GString& s)
{
    return std::u16string(s.GetW(), std::size_t(s.IsWide() ? s.Length() : 0));
}

inline std::string TextUtf8(const GString& s)
{
    return std::string(s.GetUtf8(), std::size_t(s.IsWide() ? 0 : s.Length()));
}

// A wide string holding text, constructible in place.
class WideString : public GString
{
public:
    explicit WideString(const char16_t* text) { AssignW(text); }
};

// While an instance lives, every GString allocation fails.
class FailingAllocations
{
public:
    FailingAllocations() : m_previous(GString::SetAllocationGate([](std::size_t) { return false; })) {}
    ~FailingAllocations() { GString::SetAllocationGate(m_previous); }
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

private:
    GString::AllocationGate m_previous;
};
