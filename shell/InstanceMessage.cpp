#include "shell/InstanceMessage.h"

const UINT g_instanceMessage = RegisterWindowMessageA(ORVIK_INSTANCE_NAME);
