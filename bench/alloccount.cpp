#include "alloccount.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool t_bCounting = false;
thread_local long long t_nAllocations = 0;

void* Allocate(std::size_t nSize)
{
    if (t_bCounting)
        ++t_nAllocations;
    if (void* p = std::malloc(nSize ? nSize : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t nSize)
{
    return Allocate(nSize);
}

void* operator new[](std::size_t nSize)
{
    return Allocate(nSize);
}

void* operator new(std::size_t nSize, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(nSize);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t nSize, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(nSize);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

CAllocCount::CAllocCount() : m_nStart(t_nAllocations), m_bWasCounting(t_bCounting)
{
    t_bCounting = true;
}

CAllocCount::~CAllocCount()
{
    t_bCounting = m_bWasCounting;
}

long long CAllocCount::Count() const
{
    return t_nAllocations - m_nStart;
}
