#include "remote/settingitems.h"

#include "link/commandtable.h"
#include "widgets/resstring.h"

#include <array>
#include <span>

namespace {

// One item: a string-table text, or the dialog's own text in both languages.
struct Item {
    const char* pszEnglish;
    const char* pszJapanese;
    int nStringId = 0;
};

QString Text(const Item& item)
{
    return item.nStringId != 0 ? ResString(item.nStringId) : LangText(item.pszEnglish, item.pszJapanese);
}

constexpr Item S(int nStringId)
{
    return {"", "", nStringId};
}

constexpr Item kPlayMode[] = {{"ALL", "全て"}, {"HDD-A", "HDD-A"}, {"HDD-B", "HDD-B"}};
constexpr Item kSimulRecPlay[] = {{"DISALLOW", "禁止"}, {"ALLOW", "許可"}};
constexpr Item kTimeSync[] = {{"MASTER", "マスター"}, {"SLAVE", "スレーブ"}};
constexpr Item kDiskMode[] = {{"NORMAL", "ノーマル"}, {"MIRRORING", "ミラーリング"}};
constexpr Item kRecMode[] = {{"STOP", "停止"}, {"RE-REC", "上書き"}, {"SERIES", "連続"}};
constexpr Item kQuality[] = {S(206), S(208), S(210), S(212), S(214)};
constexpr Item kOffOn[] = {S(216), S(218)};
constexpr Item kSwPeriod[] = {{"01", "01"}, {"02", "02"}, {"03", "03"}, {"04", "04"}, {"05", "05"},
                              {"10", "10"}, {"15", "15"}, {"20", "20"}, {"30", "30"}, {"60", "60"}};
constexpr Item kAlarmSetting[] = {{"INVALID", "無効"}, {"VALID", "有効"}, {"VAL REC", "有効録画"}};
constexpr Item kAlarmInMode[] = {{"EDGE", "エッジ"}, {"LEVEL", "レベル"}};
constexpr Item kPrePostAlarm[] = {{"00 SEC", "00 秒"}, {"10 SEC", "10 秒"}, {"15 SEC", "15 秒"},
                                  {"20 SEC", "20 秒"}, {"30 SEC", "30 秒"}, {"01 MIN", "01 分"},
                                  {"02 MIN", "02 分"}, {"05 MIN", "05 分"}};
constexpr Item kAlarmPeriod[] = {{"10 SEC", "10 秒"}, {"15 SEC", "15 秒"}, {"20 SEC", "20 秒"},
                                 {"30 SEC", "30 秒"}, {"01 MIN", "01 分"}, {"02 MIN", "02 分"},
                                 {"03 MIN", "03 分"}, {"04 MIN", "04 分"}, {"05 MIN", "05 分"},
                                 {"10 MIN", "10 分"}};
constexpr Item kAlarmOut[] = {{"DURING REC", "録画中"}, {"1 SEC", "1 秒"}};
constexpr Item kHideDisp[] = {S(130), S(132)};
constexpr Item kTimeDispPos[] = {{"UPPER L", "左上"}, {"UPPER C ", "中央上"}, {"UPPER R", "右上"},
                                 {"LOWER L", "左下"}, {"LOWER C", "中央下"}, {"LOWER R", "右下"}};
constexpr Item kBaudRate[] = {{"9600", "9600"}, {"19200", "19200"}, {"38400", "38400"}};
constexpr Item kSwitcherSync[] = {{"OFF", "OFF"}, {"ON", "ON"}, {"TIME SYNC", "時刻同期"}};
constexpr Item kRemainingMirroring[] = {S(130), S(133), S(134), S(136), S(138)};

constexpr int kIntervalIds[CSettingItems::INTERVAL_COUNT] = {328, 330, 332, 334, 336, 337, 338, 339,
                                                             340, 341, 342, 343, 344, 345, 346};

// What each setting k shows: its caption and its list. The clock, the timer
// program, SYNC TIME (built by hour) and the interval lists (from the string
// table) have no fixed list here.
struct SettingText {
    const char* pszEnglish;
    const char* pszJapanese;
    std::span<const Item> items;
};

const std::array<SettingText, CCommandTable::MENU_COUNT> kSettings = {{
    {"PLAY MODE", "再生モード", kPlayMode},
    {"SIMUL REC/PLAY", "録画中再生", kSimulRecPlay},
    {"", "", {}}, // the clock
    {"TIME SYNC", "時刻同期", kTimeSync},
    {"SYNC TIME", "同期時刻", {}},
    {"DISK MODE", "ディスクモード", kDiskMode},
    {"REC MODE", "録画モード", kRecMode},
    {"PICTURE QUALITY", "画質", kQuality},
    {"AUDIO", "音声", kOffOn},
    {"REC INTERVAL", "録画間隔", {}},
    {"SW CTRL PERIOD", "SW制御周期", kSwPeriod},
    {"", "", {}}, // the timer program
    {"ALARM SETTING", "アラーム設定", kAlarmSetting},
    {"ALARM IN MODE", "アラーム入力", kAlarmInMode},
    {"PRE-ALARM", "プリアラーム", kPrePostAlarm},
    {"ALARM PERIOD", "アラーム録画時間", kAlarmPeriod},
    {"POST-ALARM", "ポストアラーム", kPrePostAlarm},
    {"PICTURE QUALITY", "画質", kQuality},
    {"AUDIO", "音声", kOffOn},
    {"REC INTERVAL", "録画間隔", {}},
    {"BUZZER", "ブザー", kOffOn},
    {"ALARM OUT", "アラーム出力", kAlarmOut},
    {"PICTURE QUALITY", "画質", kHideDisp},
    {"AUDIO", "音声", kHideDisp},
    {"REC MODE", "録画モード", kHideDisp},
    {"RECORDING", "録画中", kHideDisp},
    {"PLAYING", "再生中", kHideDisp},
    {"REMAINING TIME", "残量時間", {}},
    {"DATE", "日付", kHideDisp},
    {"TIME", "時刻", kHideDisp},
    {"TIME DISP POS", "時刻表示位置", kTimeDispPos},
    {"DISK MODE", "ディスクモード", kHideDisp},
    {"RS232C BAUD RATE", "RS232C ボーレート", kBaudRate},
    {"RS232C FLOW CTRL", "RS232C フロー制御", kOffOn},
    {"SWITCHER SYNC", "スイッチャー同期", kSwitcherSync},
}};

constexpr int SETTING_TT = 4;
constexpr int SETTING_RI = 9;
constexpr int SETTING_AI = 19;
constexpr int SETTING_VG = 27;
constexpr int HOURS = 24;

QStringList ItemTexts(std::span<const Item> items)
{
    QStringList texts;
    for (const Item& item : items)
        texts << Text(item);
    return texts;
}

QStringList HourItems()
{
    QStringList texts;
    const QString strFormat = LangText("%1 H", "%1 時");
    for (int nHour = 0; nHour < HOURS; ++nHour)
        texts << strFormat.arg(nHour, 2, 10, QLatin1Char('0'));
    return texts;
}

bool IsSetting(int k)
{
    return k >= 0 && k < CCommandTable::MENU_COUNT;
}

} // namespace

QStringList CSettingItems::Items(int k)
{
    if (!IsSetting(k))
        return {};
    switch (k) {
    case SETTING_TT: return HourItems();
    case SETTING_RI: return IntervalItems(INTERVAL_COUNT);
    case SETTING_AI: return IntervalItems(ALARM_INTERVAL_COUNT);
    case SETTING_VG: return RemainingTimeItems(false);
    default: return ItemTexts(kSettings[static_cast<std::size_t>(k)].items);
    }
}

QString CSettingItems::Caption(int k)
{
    if (!IsSetting(k))
        return {};
    const SettingText& setting = kSettings[static_cast<std::size_t>(k)];
    return LangText(setting.pszEnglish, setting.pszJapanese);
}

QStringList CSettingItems::IntervalItems(int nCount)
{
    QStringList texts;
    for (int i = 0; i < nCount && i < INTERVAL_COUNT; ++i)
        texts << ResString(kIntervalIds[i]);
    return texts;
}

QStringList CSettingItems::RemainingTimeItems(bool bMirroring)
{
    return bMirroring ? ItemTexts(kRemainingMirroring) : ItemTexts(kHideDisp);
}
