// Our application framework: the small MFC-style layer the two programs are
// written against. Include this one header.
#pragma once

#include <windows.h>

#include "RuntimeClass.h"
#include "Gdi.h"
#include "MessageMap.h"
#include "Wnd.h"
#include "Dialog.h"
#include "Controls.h"
#include "Thread.h"
#include "WinApp.h"
