// The texts of the recorder's one-byte menu settings as the setting pages show
// them: the caption beside each combo box and the items of its list, whose
// zero-based position is the setting's value. Both languages; the texts that
// the string table carries (the interval list, the levels, OFF and ON, HIDE and
// DISP, the remaining-time choices) come from it.
#pragma once

#include <QString>
#include <QStringList>

class CSettingItems {
public:
    static constexpr int INTERVAL_COUNT = 15;       // REC INTERVAL
    static constexpr int ALARM_INTERVAL_COUNT = 8;  // the alarm's REC INTERVAL: its first eight

    // The list of setting k (0..34) in the current language; empty for the
    // clock (2), the timer program (11) and any other k.
    static QStringList Items(int k);
    // The caption beside setting k's combo box; empty where there is none.
    static QString Caption(int k);
    // The first nCount texts of the recording interval list (string table 328
    // to 346 without 329, 331 and 333), leading spaces as they stand.
    static QStringList IntervalItems(int nCount);
    // The REMAINING TIME list: HIDE, MAX, MIN, HDD-A, HDD-B with mirroring
    // disks, otherwise HIDE and DISP.
    static QStringList RemainingTimeItems(bool bMirroring);
};
