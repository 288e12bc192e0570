// Static text and picture controls.
#pragma once

#include "framework/Wnd.h"

class CStatic : public CWnd {};
