// The recorder's menu settings by their two letters: setting k is written by
// "MS" and read by "MV" with its suffix (the command table's order).
#pragma once

enum MenuSetting : int {
    SET_PM = 0, SET_PR = 1, SET_DT = 2, SET_TS = 3, SET_TT = 4, SET_WD = 5, SET_WM = 6,
    SET_RQ = 7, SET_RD = 8, SET_RI = 9, SET_RC = 10, SET_TM = 11,
    SET_AS = 12, SET_AN = 13, SET_AP = 14, SET_AT = 15, SET_AF = 16, SET_AQ = 17, SET_AD = 18,
    SET_AI = 19, SET_AB = 20, SET_AO = 21,
    SET_VQ = 22, SET_VD = 23, SET_VW = 24, SET_VR = 25, SET_VP = 26, SET_VG = 27, SET_VH = 28,
    SET_VT = 29, SET_VC = 30, SET_VM = 31,
    SET_TR = 32, SET_TF = 33, SET_TC = 34,
};
