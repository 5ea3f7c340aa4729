#include "devices/qv1m/qv1m_data.h"

bool Qv1ChannelEditable(int n, int c) {
    switch (c) {
    case 1:
        return true;
    case 2:
        return n != 1;
    case 3:
        return n != 1 && n != 2 && n != 3;
    default:
        return false;
    }
}

TQv1ChannelRule Qv1ChannelRule(bool alternate, bool byTime) {
    if (!alternate && !byTime)
        return {true, false, true, ">= 0", "-", ">= 0"};
    if (!alternate)
        return {true, true, false, ">= 0", "> 6", "-"};
    if (!byTime)
        return {true, true, true, ">= 0", "> 0", "> 0"};
    return {true, true, true, "> T6sec", "> 0", "> 0"};
}
