#include "framework/RegisteredMessages.h"

const UINT g_findReplaceMessage = RegisterWindowMessageA("commdlg_FindReplace");
const UINT g_taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
