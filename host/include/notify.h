// Broadcast notifications of the host to interested plug-ins.
#pragma once

#include "maxtypes.h"

#define NOTIFY_SYSTEM_PRE_RESET 0x00000007
#define NOTIFY_SYSTEM_POST_RESET 0x00000008
#define NOTIFY_FILE_PRE_OPEN 0x00000009
#define NOTIFY_FILE_POST_OPEN 0x0000000A
#define NOTIFY_FILE_PRE_SAVE 0x0000000B
#define NOTIFY_FILE_POST_SAVE 0x0000000C
#define NOTIFY_SYSTEM_SHUTDOWN 0x00000016

struct NotifyInfo {
    int intcode;
    void* callParam;
};
typedef void (*NOTIFYPROC)(void* param, NotifyInfo* info);

int RegisterNotification(NOTIFYPROC proc, void* param, int code);
int UnRegisterNotification(NOTIFYPROC proc, void* param, int code);
void BroadcastNotification(int code, void* callParam = nullptr);
