#include "framework/RegisteredMessages.h"

const UINT g_findReplaceMessage = RegisterWindowMessageA("commdlg_FindReplace");
const UINT g_instanceMessage = RegisterWindowMessageA(ORVIK_INSTANCE_NAME);
const UINT g_taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
