// Counts the calls of the global operator new that the current thread makes
// while a CAllocCount lives (the benchmark replaces operator new for this).
// Other threads, such as the simulator's, are not counted.
#pragma once

class CAllocCount {
public:
    CAllocCount();
    ~CAllocCount();
    CAllocCount(const CAllocCount&) = delete;
    CAllocCount& operator=(const CAllocCount&) = delete;

    long long Count() const;

private:
    long long m_nStart;
    bool m_bWasCounting;
};
